#!/usr/bin/env python3
"""Writes features.x beside this script: a small text .x model holding every
feature the glTF export carries, for the validator and the round-trip tests.

    python3 tests/gltf/features/make_features.py

What the model holds, frame by frame (all under "Root" unless said):
  Board      a mesh "Tiles" of nine quads, one material each: eight textured
             (cutout.png with a cut-out alpha, checker.jpg/.bmp/.tga/.ppm,
             checker_dxt1.dds, checker_dxt5.dds, checker_rgba.dds uncompressed)
             and "Glass", untextured with diffuse alpha 0.4; MeshNormals,
             MeshVertexColors and MeshTextureCoords.
  Mirror     a matrix of determinant -1 (x mirrored) over an arrow-shaped
             mesh "Flag" that points to +x as stored.
  Pair       two meshes in one frame, "PairLeft" and "PairRight".
  Skeleton   a chain of ten bone frames Bone0..Bone9, half a unit apart.
  TailSkin   the mesh "Tail", skinned over the ten bones: row r of its
             vertices leans on bones 0..min(r, 9), so the top rows have ten
             influences.
  (none)     the mesh "Loose", outside any frame.
Two animation sets at 30 ticks a second: "Swing" (closed, 60 ticks) bends
the bones by rotation keys, lifts Board by position keys and grows Pair by
scale keys; "Drop" (open, 45 ticks) moves Mirror and Pair by matrix keys.
"""
import math
from pathlib import Path

BONES = 10
ROWS = BONES + 1  # of the tail's vertices
BONE_STEP = 0.5
SKELETON_X = 6.0


def num(value):
    return f"{value:.6f}"


def translation(x, y, z):
    # .x matrices act on row vectors: the translation is the last row.
    return [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1]


def rotation_z_then(angle_degrees, x, y, z):
    c, s = math.cos(math.radians(angle_degrees)), math.sin(math.radians(angle_degrees))
    return [c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, x, y, z, 1]


def mirror_x_then(x, y, z):
    return [-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1]


def matrix_lines(m, indent):
    rows = [",".join(num(v) for v in m[k:k + 4]) for k in range(0, 16, 4)]
    return f"{indent}" + f",\n{indent}".join(rows) + ";;"


def frame_matrix(m, indent):
    return f"{indent}FrameTransformMatrix {{\n{matrix_lines(m, indent + ' ')}\n{indent}}}\n"


def vector_list(points, indent):
    return ",\n".join(f"{indent}{';'.join(num(c) for c in p)};" for p in points) + ";\n"


def face_list(faces, indent):
    return ",\n".join(f"{indent}{len(f)};{','.join(str(i) for i in f)};" for f in faces) + ";\n"


def material(name, rgba, power, specular, emissive, texture, indent):
    text = (f"{indent}Material {name} {{\n"
            f"{indent} {';'.join(num(c) for c in rgba)};;\n"
            f"{indent} {num(power)};\n"
            f"{indent} {';'.join(num(c) for c in specular)};;\n"
            f"{indent} {';'.join(num(c) for c in emissive)};;\n")
    if texture:
        text += f"{indent} TextureFilename {{\n{indent}  \"{texture}\";\n{indent} }}\n"
    return text + f"{indent}}}\n"


def mesh(name, points, faces, indent, materials_text, material_count, face_materials, extra=""):
    text = f"{indent}Mesh {name} {{\n{indent} {len(points)};\n"
    text += vector_list(points, indent + " ")
    text += f"{indent} {len(faces)};\n" + face_list(faces, indent + " ")
    text += (f"{indent} MeshMaterialList {{\n{indent}  {material_count};\n{indent}  {len(faces)};\n"
             + ",\n".join(f"{indent}  {m}" for m in face_materials) + ";;\n"
             + materials_text + f"{indent} }}\n")
    return text + extra + f"{indent}}}\n"


def quad(x0, y0, x1, y1):
    # Clockwise as seen from -z, the side a left-handed camera looks from.
    return [(x0, y0, 0), (x0, y1, 0), (x1, y1, 0), (x1, y0, 0)]


TEXTURES = ["cutout.png", "checker.jpg", "checker.bmp", "checker.tga", "checker.ppm",
            "checker_dxt1.dds", "checker_dxt5.dds", "checker_rgba.dds"]


def tiles(indent):
    points, faces, uvs, colours = [], [], [], []
    for k in range(len(TEXTURES) + 1):
        x0 = -4.95 + 1.1 * k
        base = len(points)
        points += quad(x0, 0, x0 + 1, 1)
        faces.append([base, base + 1, base + 2, base + 3])
        uvs += [(0, 1), (0, 0), (1, 0), (1, 1)]
        hue = k / (len(TEXTURES) + 1)
        colours += [tuple(0.5 + 0.5 * math.cos(2 * math.pi * (hue + c / 3)) for c in range(3))] * 4
    materials = "".join(
        material(f"Tex{k}", (1, 1, 1, 1), 10, (0.2, 0.2, 0.2), (0, 0, 0), texture, indent + "  ")
        for k, texture in enumerate(TEXTURES))
    materials += material("Glass", (0.6, 0.8, 1.0, 0.4), 40, (0.9, 0.9, 0.9), (0, 0, 0), None, indent + "  ")
    i = indent + " "
    extra = (f"{i}MeshNormals {{\n{i} 2;\n{i} 0.000000;0.000000;-1.000000;,\n{i} 0.000000;0.707107;-0.707107;;\n"
             f"{i} {len(faces)};\n" + face_list([[0, 0, 1, 1] for _ in faces], i + " ") + f"{i}}}\n")
    extra += (f"{i}MeshVertexColors {{\n{i} {len(colours)};\n"
              + ",\n".join(f"{i} {v};{';'.join(num(c) for c in rgb)};1.000000;;" for v, rgb in enumerate(colours))
              + ";\n" + f"{i}}}\n")
    extra += (f"{i}MeshTextureCoords {{\n{i} {len(uvs)};\n"
              + ",\n".join(f"{i} {num(u)};{num(v)};" for u, v in uvs) + ";\n" + f"{i}}}\n")
    return mesh("Tiles", points, faces, indent, materials, len(TEXTURES) + 1, range(len(faces)), extra)


def flag(indent):
    # A pole and a pennant pointing to +x: mirrored, it points to -x. Its
    # faces turn the other way round, so that mirrored they face the camera.
    points = quad(-0.1, 0, 0.1, 1.5) + [(0.1, 1.5, 0), (1.2, 1.2, 0), (0.1, 0.9, 0)]
    return mesh("Flag", points, [[3, 2, 1, 0], [6, 5, 4]], indent, f"{indent}  {{ Gold }}\n", 1, [0, 0])


def pair(indent):
    left = mesh("PairLeft", quad(-2, 0, -1, 1), [[0, 1, 2, 3]], indent,
                material("Leaf", (0.2, 0.7, 0.2, 1), 5, (0, 0, 0), (0, 0, 0), None, indent + "  "), 1, [0])
    right = mesh("PairRight", [(1, 0, 0), (1.5, 1, 0), (2, 0, 0)], [[0, 1, 2]], indent,
                 material("Brick", (0.7, 0.3, 0.2, 1), 5, (0, 0, 0), (0.1, 0, 0), None, indent + "  "), 1, [0])
    return left + right


def bone_weights(row):
    bones = list(range(min(row, BONES - 1) + 1))
    raw = [(b + 1) ** 2 for b in bones]
    weights = [round(r / sum(raw), 6) for r in raw]
    weights[-1] = round(1 - sum(weights[:-1]), 6)  # the sum stays 1 as written
    return dict(zip(bones, weights))


def tail(indent):
    points = [(SKELETON_X + dx, BONE_STEP * r, 0) for r in range(ROWS) for dx in (-0.2, 0.2)]
    faces = [[2 * r, 2 * r + 2, 2 * r + 3, 2 * r + 1] for r in range(ROWS - 1)]
    i = indent + " "
    extra = f"{i}XSkinMeshHeader {{\n{i} {BONES};\n{i} {BONES};\n{i} {BONES};\n{i}}}\n"
    for bone in range(BONES):
        influenced = [(v, bone_weights(v // 2)[bone]) for v in range(len(points)) if bone in bone_weights(v // 2)]
        extra += (f"{i}SkinWeights {{\n{i} \"Bone{bone}\";\n{i} {len(influenced)};\n"
                  + ",\n".join(f"{i} {v}" for v, _ in influenced) + ";\n"
                  + ",\n".join(f"{i} {num(w)}" for _, w in influenced) + ";\n"
                  # The mesh's frame is the identity: the offset undoes the bone's bind place.
                  + matrix_lines(translation(-SKELETON_X, -BONE_STEP * bone, 0), i + " ") + "\n" + f"{i}}}\n")
    return mesh("Tail", points, faces, indent,
                material("Scales", (0.8, 0.8, 0.3, 1), 15, (0.3, 0.3, 0.3), (0, 0, 0), None, indent + "  "),
                1, [0] * len(faces), extra)


def bones(indent, bone=0):
    if bone == BONES:
        return ""
    local = translation(0, 0, 0) if bone == 0 else translation(0, BONE_STEP, 0)
    return (f"{indent}Frame Bone{bone} {{\n" + frame_matrix(local, indent + " ")
            + bones(indent + " ", bone + 1) + f"{indent}}}\n")


def key_list(key_type, keys, indent):
    lines = [f"{indent}{t};{len(values)};{','.join(num(v) for v in values)};;" for t, values in keys]
    return f"{indent}AnimationKey {{\n{indent} {key_type};\n{indent} {len(keys)};\n" + ",\n".join(
        " " + line for line in lines) + ";\n" + f"{indent}}}\n"


def animation(frame, keys_text, indent, options=None):
    text = f"{indent}Animation {{\n{indent} {{ {frame} }}\n" + keys_text
    if options:
        text += f"{indent} AnimationOptions {{\n{indent}  {options[0]};\n{indent}  {options[1]};\n{indent} }}\n"
    return text + f"{indent}}}\n"


def swing():
    def bend(degrees):
        half = math.radians(degrees) / 2
        return [math.cos(half), 0, 0, math.sin(half)]  # w, x, y, z

    text = "AnimationSet Swing {\n"
    for bone in range(1, BONES):
        text += animation(f"Bone{bone}", key_list(0, [(0, bend(0)), (30, bend(12)), (60, bend(0))], "  "), " ")
    text += animation("Board", key_list(2, [(0, [0, 0, 0]), (30, [0, 0.3, 0]), (60, [0, 0, 0])], "  "), " ")
    text += animation("Pair", key_list(1, [(0, [1, 1, 1]), (30, [1.5, 1.5, 1.5]), (60, [1, 1, 1])], "  "), " ")
    return text + "}\n"


def drop():
    text = "AnimationSet Drop {\n"
    text += animation("Mirror", key_list(4, [(0, mirror_x_then(0, -2.5, 0)), (45, mirror_x_then(0, -3.5, 0))], "  "),
                      " ", options=(0, 1))
    text += animation("Pair", key_list(4, [(0, translation(0, 2, 0)), (45, rotation_z_then(30, 0, 2, 0))], "  "),
                      " ", options=(0, 1))
    return text + "}\n"


def model():
    text = "xof 0303txt 0032\n// Every feature the glTF export carries; written by make_features.py.\n\n"
    text += "Header {\n 1;\n 0;\n 1;\n}\n\nAnimTicksPerSecond {\n 30;\n}\n\n"
    text += material("Gold", (0.9, 0.7, 0.2, 1), 30, (1, 1, 1), (0, 0, 0), None, "") + "\n"
    text += "Frame Root {\n" + frame_matrix(translation(0, 0, 0), " ")
    text += " Frame Board {\n" + frame_matrix(translation(0, 0, 0), "  ") + tiles("  ") + " }\n"
    text += " Frame Mirror {\n" + frame_matrix(mirror_x_then(0, -2.5, 0), "  ") + flag("  ") + " }\n"
    text += " Frame Pair {\n" + frame_matrix(translation(0, 2, 0), "  ") + pair("  ") + " }\n"
    text += " Frame Skeleton {\n" + frame_matrix(translation(SKELETON_X, 0, 0), "  ") + bones("  ") + " }\n"
    text += " Frame TailSkin {\n" + frame_matrix(translation(0, 0, 0), "  ") + tail("  ") + " }\n"
    text += "}\n\n"
    text += mesh("Loose", quad(-1, -5, 1, -4.5), [[0, 1, 2, 3]], "", "  { Gold }\n", 1, [0]) + "\n"
    return text + swing() + "\n" + drop()


if __name__ == "__main__":
    Path(__file__).with_name("features.x").write_text(model())
