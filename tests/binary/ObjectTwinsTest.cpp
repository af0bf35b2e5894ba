// Each kind of object means the same to the text reader and to the binary
// reader: a small text file, its binary (32- and 64-bit floats) and its
// compressed twins give the same records, field by field. Where the two
// readers part today, the case states what each gives.
#include "model/file/ModelFile.h"
#include "FileTwins.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace {

using Fields = std::map<std::string, std::string>;  // "meshes[0].name" -> "Box"

std::string Join(std::span<const float> values)
{
    std::string text;
    for (const float value : values) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%.9g", text.empty() ? "" : " ", static_cast<double>(value));
        text += number;
    }
    return text;
}

template <typename List, typename Each>
std::string JoinEach(const List& list, Each each)
{
    std::string text;
    for (const auto& item : list) text += (text.empty() ? "" : " | ") + each(item);
    return text;
}

std::string Ints(std::span<const std::int32_t> values)
{
    std::string text;
    for (const std::int32_t value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
    return text;
}

void AddMaterial(Fields& f, const std::string& at, const MaterialRecord& m)
{
    f[at + ".name"] = m.name;
    f[at + ".colors"] = Join(m.colors.diffuse) + " / " + Join(m.colors.ambient) + " / " + Join(m.colors.specular) +
                        " / " + Join(m.colors.emissive) + " / " + Join(std::span(&m.colors.power, 1));
    f[at + ".texture"] = m.textureFile;
    f[at + ".textures"] = JoinEach(m.textureFiles, [](const std::string& name) { return '"' + name + '"'; });
}

// Everything a reader keeps that both forms can say, except the first line's values (they tell the form).
Fields FieldsOf(const Model& model)
{
    Fields f;
    f["header"] = Ints(std::array{model.headerMajor, model.headerMinor, model.headerFlags});
    f["animTicksPerSecond"] = model.animTicksPerSecond ? std::to_string(*model.animTicksPerSecond) : "none";
    f["sharedMaterials"] = std::to_string(model.sharedMaterials.size());
    for (std::size_t k = 0; k < model.sharedMaterials.size(); ++k)
        AddMaterial(f, "sharedMaterials[" + std::to_string(k) + "]", model.sharedMaterials[k]);
    f["frames"] = JoinEach(model.frames, [](const FrameRecord& frame) {
        return frame.name + " ^" + std::to_string(frame.parent) +
               (frame.transform ? " " + Join(frame.transform->m) : " no matrix");
    });
    f["meshes"] = std::to_string(model.meshes.size());
    for (std::size_t k = 0; k < model.meshes.size(); ++k) {
        const MeshRecord& mesh = model.meshes[k];
        const std::string at = "meshes[" + std::to_string(k) + "]";
        f[at + ".name"] = mesh.name;
        f[at + ".frame"] = std::to_string(mesh.frame);
        f[at + ".vertices"] = JoinEach(mesh.vertices, [](const Vector3& v) { return Join(std::array{v.x, v.y, v.z}); });
        std::vector<std::string> faces;
        for (std::int32_t k = 0; k < mesh.faceCount(); ++k) {
            const FaceRecord face = mesh.faces[k];
            faces.push_back(Ints(std::span(face.corners, static_cast<std::size_t>(face.cornerCount))));
        }
        f[at + ".faces"] = JoinEach(faces, [](const std::string& s) { return s; });
        f[at + ".faceMaterials"] = mesh.faceMaterials ? Ints(*mesh.faceMaterials) : "none";
        f[at + ".opacity"] = Join(std::span(&mesh.opacity, 1));
        f[at + ".materials"] = std::to_string(mesh.materials.size());
        for (std::size_t m = 0; m < mesh.materials.size(); ++m)
            AddMaterial(f, at + ".materials[" + std::to_string(m) + "]", mesh.materials[m]);
        f[at + ".texCoords"] = !mesh.texCoords ? "none" : JoinEach(*mesh.texCoords, [](const TexCoord& t) {
            return Join(std::array{t.u, t.v});
        });
        f[at + ".storedNormals"] = !mesh.storedNormals ? "none" :
            JoinEach(mesh.storedNormals->normals, [](const Vector3& v) { return Join(std::array{v.x, v.y, v.z}); }) +
            " / " + Ints(mesh.storedNormals->cornerNormals);
        f[at + ".vertexColors"] = !mesh.vertexColors ? "none" : JoinEach(*mesh.vertexColors, [](const VertexColor& c) {
            return Join(c);
        });
        f[at + ".skinWeights"] = std::to_string(mesh.skinWeights.size());
        for (std::size_t s = 0; s < mesh.skinWeights.size(); ++s) {
            const SkinWeightsRecord& skin = mesh.skinWeights[s];
            const std::string sat = at + ".skinWeights[" + std::to_string(s) + "]";
            f[sat + ".bone"] = skin.boneName;
            f[sat + ".indices"] = Ints(skin.vertexIndices);
            f[sat + ".weights"] = Join(skin.weights);
            f[sat + ".offset"] = Join(skin.offset.m);
        }
    }
    for (std::size_t s = 0; s < model.animationSets.size(); ++s) {
        const AnimationSetRecord& set = model.animationSets[s];
        const std::string at = "animationSets[" + std::to_string(s) + "]";
        f[at + ".name"] = set.name;
        for (std::size_t k = 0; k < set.animations.size(); ++k) {
            const AnimationRecord& a = set.animations[k];
            const std::string aat = at + ".animations[" + std::to_string(k) + "]";
            f[aat + ".frame"] = a.frameName + " #" + std::to_string(a.frame);
            f[aat + ".options"] =
                std::string(a.closed ? "closed" : "open") + (a.linearPositions ? " linear" : " spline");
            auto keys = [](const auto& list, auto values) {
                return JoinEach(list, [&](const auto& key) {
                    return std::to_string(key.time) + ": " + Join(values(key.value));
                });
            };
            f[aat + ".rotationKeys"] =
                keys(a.rotationKeys, [](const Quaternion& q) { return std::array{q.w, q.x, q.y, q.z}; });
            f[aat + ".scaleKeys"] = keys(a.scaleKeys, [](const Vector3& v) { return std::array{v.x, v.y, v.z}; });
            f[aat + ".positionKeys"] = keys(a.positionKeys, [](const Vector3& v) { return std::array{v.x, v.y, v.z}; });
            f[aat + ".matrixKeys"] = keys(a.matrixKeys, [](const Matrix4& m) { return m.m; });
        }
    }
    return f;
}

// Every field where `got` is not `expected`, one line each, named.
std::string Differences(const Fields& expected, const Fields& got)
{
    std::string text;
    for (const auto& [field, value] : expected) {
        const auto other = got.find(field);
        if (other == got.end()) text += field + ": \"" + value + "\", missing\n";
        else if (other->second != value) text += field + ": \"" + value + "\", got \"" + other->second + "\"\n";
    }
    for (const auto& [field, value] : got)
        if (!expected.contains(field)) text += field + ": not expected, got \"" + value + "\"\n";
    return text;
}

// "field = value" sets a field; a bare "prefix" drops every field it begins.
Fields With(Fields fields, const std::vector<std::string>& changes)
{
    for (const std::string& change : changes) {
        const std::size_t equals = change.find(" = ");
        if (equals != std::string::npos) {
            fields[change.substr(0, equals)] = change.substr(equals + 3);
            continue;
        }
        std::erase_if(fields, [&](const auto& entry) { return entry.first.starts_with(change); });
    }
    return fields;
}

Fields Read(const std::string& bytes, const std::string& what)
{
    testing_support::MessageRecorder recorder;
    const std::optional<Model> model = testing_support::ShowingRefusal(ReadModelBytes("twin.x", bytes));
    EXPECT_TRUE(model && recorder.messages().empty()) << what;
    return model ? FieldsOf(*model) : Fields{};
}

struct Case {
    const char* kind;
    std::string text;                      // after the first line
    std::vector<std::string> textGives;    // fields the text must give, so that the case reads something
    std::vector<std::string> binaryGives;  // not empty: the binary reader differs there today
};

const std::string kTriangle = " 3;\n  0.0;0.0;0.0;,\n  1.5;0.0;0.0;,\n  0.0;-2.25;0.0;;\n 1;\n 3;0,1,2;;\n";
std::string Mesh(const std::string& inside = "") { return "Mesh Tri {\n" + kTriangle + inside + "}\n"; }
const std::string kRed = "Material Red {\n 1.0;0.0;0.0;0.0;;\n 12.5;\n 0.1;0.2;0.3;;\n 0.0;0.0;0.5;;\n}\n";
const std::string kIdentity = "1,0,0,0,0,1,0,0,0,0,1,0,";
const std::string kSkin =
    " SkinWeights {\n  \"Hip\";\n  2;\n  0,\n  2;\n  0.25,\n  1.0;\n  " + kIdentity + "2,3,4,1;;\n }\n";
const std::string kSkinned = "Frame Hip {\n" + Mesh(" XSkinMeshHeader {\n  1;\n  2;\n  1;\n }\n" + kSkin) + "}\n";
std::string Keys(const std::string& keys)
{
    return kSkinned + "AnimationSet Walk {\n Animation {\n  { Hip }\n" + keys + " }\n}\n";
}

const std::vector<Case> kCases = {
    {"Header", "Header {\n 1;\n 0;\n 1;\n}\n" + Mesh(), {"header = 1 0 1"}, {}},
    {"Mesh, quad and triangle", "Mesh Box {\n 4;\n 0;0;0;,\n 1;0;0;,\n 1;1;0;,\n 0;1;0;;\n 2;\n 4;0,1,2,3;,\n"
                                " 3;2,1,0;;\n}\n", {"meshes[0].name = Box", "meshes[0].faces = 0 1 2 3 | 2 1 0"}, {}},
    // A brace or a comment after the word is no name.
    {"Mesh, comment after its brace", "Mesh { // Player mesh\n" + kTriangle + "}\n", {"meshes[0].name = Unnamed"},
     {}},
    {"Material, comment after its brace",
     Mesh(" MeshMaterialList {\n  1;\n  1;\n  0;;\n  Material { // skin\n   1.0;1.0;1.0;1.0;;\n   0.0;\n"
          "   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n  }\n }\n"),
     {"meshes[0].materials[0].name = Unnamed"}, {}},
    // differs today: a brace on the next line loses the name in text, not in binary.
    {"Mesh, brace on the next line", "Mesh Box\n{\n" + kTriangle + "}\n", {"meshes[0].name = Unnamed"},
     {"meshes[0].name = Box"}},
    {"Material with TextureFilename",
     Mesh(" MeshMaterialList {\n  1;\n  1;\n  0;;\n  Material Skin {\n   1.0;1.0;1.0;0.5;;\n   0.0;\n   0.0;0.0;0.0;;\n"
          "   0.0;0.0;0.0;;\n   TextureFilename {\n    \"skin.png\";\n   }\n  }\n }\n"),
     {"meshes[0].materials[0].texture = skin.png", "meshes[0].opacity = 0.5"}, {}},
    // differs today: of two texture names the text reader keeps the last, the binary one the first.
    {"Material with two TextureFilename",
     Mesh(" MeshMaterialList {\n  1;\n  1;\n  0;;\n  Material {\n   1.0;1.0;1.0;1.0;;\n   0.0;\n   0.0;0.0;0.0;;\n"
          "   0.0;0.0;0.0;;\n   TextureFilename {\n    \"a.png\";\n   }\n   TextureFilename {\n    \"b.png\";\n   }\n"
          "  }\n }\n"),
     {"meshes[0].materials[0].texture = b.png", "meshes[0].materials[0].textures = \"a.png\" | \"b.png\""},
     {"meshes[0].materials[0].texture = a.png"}},
    // A shared material's names go with it to the slots that name it, in order, empty names too.
    {"Shared material with three TextureFilename",
     "Material Skin {\n 1.0;1.0;1.0;1.0;;\n 0.0;\n 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n"
     " TextureFilename {\n  \"\";\n }\n TextureFilename {\n  \"diffuse.dds\";\n }\n"
     " TextureFilename {\n  \"normal.png\";\n }\n}\n" +
         Mesh(" MeshMaterialList {\n  1;\n  1;\n  0;;\n  {Skin}\n }\n"),
     {"sharedMaterials[0].textures = \"\" | \"diffuse.dds\" | \"normal.png\"", "sharedMaterials[0].texture = normal.png",
      "meshes[0].materials[0].textures = \"\" | \"diffuse.dds\" | \"normal.png\"",
      "meshes[0].materials[0].texture = normal.png"},
     {"sharedMaterials[0].texture = diffuse.dds", "meshes[0].materials[0].texture = diffuse.dds"}},
    {"MeshMaterialList with shared materials",
     kRed + "Mesh Quad {\n 4;\n 0;0;0;,\n 1;0;0;,\n 1;1;0;,\n 0;1;0;;\n 2;\n 3;0,1,2;,\n 3;0,2,3;;\n"
            " MeshMaterialList {\n  2;\n  2;\n  1,\n  0;;\n  {Red}\n  Material Blue {\n   0.0;0.0;1.0;1.0;;\n"
            "   1.0;\n   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n  }\n }\n}\n",
     {"meshes[0].faceMaterials = 1 0", "meshes[0].materials[0].name = Unnamed", "sharedMaterials[0].name = Red",
      "meshes[0].materials[0].colors = 1 0 0 1 / 1 0 0 1 / 0.100000001 0.200000003 0.300000012 1 / 0 0 0.5 1 / 12.5"},
     {}},
    {"MeshNormals", Mesh(" MeshNormals {\n  2;\n  0.0;0.0;1.0;,\n  0.0;0.0;-1.0;;\n  1;\n  3;1,0,1;;\n }\n"),
     {"meshes[0].storedNormals = 0 0 1 | 0 0 -1 / 1 0 1"}, {}},
    {"MeshTextureCoords", Mesh(" MeshTextureCoords {\n  3;\n  0.0;0.0;,\n  1.0;0.25;,\n  0.0;1.0;;\n }\n"),
     {"meshes[0].texCoords = 0 0 | 1 0.25 | 0 1"}, {}},
    // differs today: a reference with a GUID is looked up whole in text, by its name in binary.
    {"MeshMaterialList, reference with a GUID",
     kRed + Mesh(" MeshMaterialList {\n  1;\n  1;\n  0;;\n  { Red <01234567-89ab-cdef-0123-456789abcdef> }\n }\n"),
     {"meshes[0].materials[0].colors = 1 1 1 1 / 1 1 1 1 / 0 0 0 1 / 0 0 0 1 / 5"},
     {"meshes[0].materials[0].colors = 1 0 0 1 / 1 0 0 1 / 0.100000001 0.200000003 0.300000012 1 / 0 0 0.5 1 / 12.5"}},
    // differs today: coordinates outside any mesh go to the next mesh in text, nowhere in binary.
    {"MeshTextureCoords before its mesh", "MeshTextureCoords {\n 3;\n 0.0;0.0;,\n 1.0;0.25;,\n 0.0;1.0;;\n}\n" + Mesh(),
     {"meshes[0].texCoords = 0 0 | 1 0.25 | 0 1"}, {"meshes[0].texCoords = none"}},
    {"MeshVertexColors", Mesh(" MeshVertexColors {\n  3;\n  0;1.0;0.0;0.0;1.0;,\n  2;0.0;0.5;0.0;1.0;,\n"
                              "  1;0.0;0.0;1.0;0.25;;\n }\n"),
     {"meshes[0].vertexColors = 1 0 0 1 | 0 0 1 0.25 | 0 0.5 0 1"}, {}},
    {"Frame and FrameTransformMatrix nesting",
     "Frame Root {\n FrameTransformMatrix {\n  " + kIdentity + "2,3,4,1;;\n }\n Frame { // unnamed\n  Frame Leaf {\n"
     "  " + Mesh() + "  }\n }\n}\nFrame Second {\n}\n",
     {"frames = Root ^-1 1 0 0 0 0 1 0 0 0 0 1 0 2 3 4 1 |  ^0 no matrix | Leaf ^1 no matrix | Second ^-1 no matrix",
      "meshes[0].frame = 2"}, {}},
    // differs today: a matrix on its brace line is no matrix to the text reader.
    {"FrameTransformMatrix on one line",
     "Frame Root {\n FrameTransformMatrix { " + kIdentity + "2,3,4,1;; }\n" + Mesh() + "}\n",
     {"frames = Root ^-1 no matrix"}, {"frames = Root ^-1 1 0 0 0 0 1 0 0 0 0 1 0 2 3 4 1"}},
    {"SkinWeights and XSkinMeshHeader", kSkinned,
     {"meshes[0].skinWeights[0].bone = Hip", "meshes[0].skinWeights[0].indices = 0 2",
      "meshes[0].skinWeights[0].weights = 0.25 1", "meshes[0].skinWeights[0].offset = 1 0 0 0 0 1 0 0 0 0 1 0 2 3 4 1"},
     {}},
    // Indices are integers in every form: beyond 2^24 they stay exact, and one written "1.5" or "2.0"
    // leaves its object out.
    {"SkinWeights index beyond 2^24",
     "Frame Hip {\n" + Mesh(" SkinWeights {\n  \"Hip\";\n  1;\n  16777217;\n  1.0;\n  " +
                            kIdentity + "0,0,0,1;;\n }\n") + "}\n",
     {"meshes[0].skinWeights[0].indices = 16777217"}, {}},
    {"SkinWeights fractional index", "Frame Hip {\n" + Mesh(" SkinWeights {\n  \"Hip\";\n  1;\n  1.5;\n  1.0;\n  " +
                                                          kIdentity + "0,0,0,1;;\n }\n") + "}\n",
     {"meshes[0].skinWeights = 0", "meshes[0].skinWeights[0]"}, {}},
    {"MeshVertexColors index written as a decimal",
     Mesh(" MeshVertexColors {\n  1;\n  2.0;1.0;0.0;0.0;1.0;;\n }\n"), {"meshes[0].vertexColors = none"}, {}},
    {"MeshNormals index written as a decimal",
     Mesh(" MeshNormals {\n  1;\n  0.0;0.0;1.0;;\n  1;\n  3;0,0,0.0;;\n }\n"), {"meshes[0].storedNormals = none"}, {}},
    {"AnimationKey rotation, AnimationOptions",
     Keys("  AnimationOptions {\n   0;\n   0;\n  }\n  AnimationKey {\n   0;\n   2;\n   0;4;1.0,0.0,0.0,0.0;;,\n"
          "   10;4;0.5,0.5,-0.5,0.5;;;\n  }\n"),
     {"animationSets[0].animations[0].rotationKeys = 0: 1 0 0 0 | 10: 0.5 0.5 -0.5 0.5",
      "animationSets[0].animations[0].options = open spline", "animationSets[0].animations[0].frame = Hip #0"}, {}},
    {"AnimationKey scale and position",
     Keys("  AnimationKey {\n   1;\n   1;\n   5;3;2.0,2.0,2.0;;;\n  }\n"
          "  AnimationKey {\n   2;\n   2;\n   0;3;0.0,1.0,2.0;;,\n   7;3;-1.5,0.0,3.0;;;\n  }\n"),
     {"animationSets[0].animations[0].scaleKeys = 5: 2 2 2",
      "animationSets[0].animations[0].positionKeys = 0: 0 1 2 | 7: -1.5 0 3"}, {}},
    {"AnimationKey matrix", Keys("  AnimationKey {\n   4;\n   1;\n   3;16;" + kIdentity + "5,6,7,1;;;\n  }\n"),
     {"animationSets[0].animations[0].matrixKeys = 3: 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1"}, {}},
    {"AnimTicksPerSecond", "AnimTicksPerSecond {\n 30;\n}\n" +
                               Keys("  AnimationKey {\n   2;\n   1;\n   0;3;1.0,2.0,3.0;;;\n  }\n"),
     {"animTicksPerSecond = 30", "animationSets[0].name = Walk"}, {}},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.kind; }

class ObjectTwins : public testing::TestWithParam<Case> {};

// Forms 0 (text) and 3 (compressed text) go through the text reader; 1, 2 and 4 through the binary one.
TEST_P(ObjectTwins, GiveTheSameRecordsInEveryForm)
{
    const Case& c = GetParam();
    const std::vector<std::string> twins = testing_support::TwinsOf("xof 0303txt 0032\n" + c.text);
    ASSERT_EQ(twins.size(), 5u);
    const Fields text = Read(twins[0], "text");
    const Fields expected = With(text, c.textGives);
    EXPECT_EQ(Differences(expected, text), "") << "the text reads something else than the case says";
    const Fields binary = c.binaryGives.empty() ? text : With(text, c.binaryGives);
    const char* names[] = {"text", "binary (32-bit floats)", "binary (64-bit floats)", "compressed text",
                           "compressed binary"};
    for (std::size_t form = 1; form < twins.size(); ++form)
        EXPECT_EQ(Differences(form == 3 ? text : binary, Read(twins[form], names[form])), "")
            << names[form] << " against the " << (form == 3 || c.binaryGives.empty() ? "text" : "binary expectation");
}

INSTANTIATE_TEST_SUITE_P(EachObject, ObjectTwins, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             std::string name = std::to_string(info.index) + "_";
                             for (const char* c = info.param.kind; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

}  // namespace
