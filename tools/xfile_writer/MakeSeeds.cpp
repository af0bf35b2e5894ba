// Writes small seeds for the xbinary and mszip fuzz targets: binary files
// with every kind of record and with animations, at both float sizes, and
// their compressed twins
// cut into small blocks so that blocks copy from the ones before.
//   xfile_binary_seeds FOLDER     writes FOLDER/xbinary/* and FOLDER/mszip/*
#include "tools/xfile_writer/BinaryWriter.h"
#include "tools/xfile_writer/MszipWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "tools/xfile_writer/TokenWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A mesh with a material list, a texture name, references with and without
// a GUID, stored normals, vertex colours and a frame around it, as an
// exporter writes them.
const char* const kMeshText = R"(xof 0303txt 0032
template Vector {
 <3d82ab5e-62da-11cf-ab39-0020af71e433>
 FLOAT x;
 FLOAT y;
 FLOAT z;
}
Material Red {
 1.0;0.0;0.0;1.0;;
 8.0;
 1.0;1.0;1.0;;
 0.0;0.0;0.0;;
 TextureFilename { "red.png"; }
}
Frame Root {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;; }
 Mesh Quad {
  4;
  0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;;
  1;
  4;0,1,2,3;;
  MeshMaterialList { 2; 1; 1;; { Red } { Red <3d82ab5e-62da-11cf-ab39-0020af71e433> } Material Blue { 0.0;0.0;1.0;1.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
  MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;; }
  MeshNormals { 2; 0.0;0.0;1.0;, 0.0;1.0;0.0;; 1; 4;0,1,1,0;; }
  MeshVertexColors { 2; 0;1.0;0.0;0.0;1.0;;, 3;0.0;1.0;0.0;0.5;;; }
 }
}
)";

// Animations: ticks per second, a set with every key type, options, a
// reference and a name in parentheses, key lists that do not hold together,
// an animation whose frame is missing and one outside any set.
const char* const kAnimatedText = R"(xof 0303txt 0032
AnimTicksPerSecond { 24; }
Frame Hip {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;; }
 Frame Knee { }
 Mesh Leg { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;; }
}
AnimationSet Walk {
 Animation Anim-Walk-Hip {
  { Hip }
  AnimationOptions { 0; 1; }
  AnimationKey { 0; 2; 0;4;1.0,0.0,0.0,0.0;;, 10;4;0.0,1.0,0.0,0.0;;; }
  AnimationKey { 1; 1; 0;3;1.0,1.0,1.0;;; }
  AnimationKey { 2; 2; 0;3;0.0,0.0,0.0;;, 10;3;0.0,2.0,0.0;;; }
  AnimationKey { 4; 1; 5;16;1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,3.0,0.0,1.0;;; }
 }
 Animation (Knee) {
  AnimationKey { 0; 9; 0;4;1.0,0.0,0.0,0.0;;; }
  AnimationKey { 1; 2; 10;3;1.0,1.0,1.0;;, 5;3;2.0,2.0,2.0;;; }
  AnimationKey { 3; 1; 0;3;1.0,1.0,1.0;;; }
  AnimationKey { 2; 1; 0;2;1.0,1.0;;; }
  AnimationKey { 2; 1; 0;3;1.0,2.0,3.0;;; }
 }
 Animation { { Nowhere } AnimationKey { 2; 1; 0;3;1.0,2.0,3.0;;; } }
}
Animation Loose { { Hip } AnimationKey { 2; 1; 0;3;1.0,2.0,3.0;;; } }
AnimationSet { }
)";

void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder / "xbinary");
    std::filesystem::create_directories(folder / "mszip");

    xfile::Document mesh;
    std::string error;
    if (!xfile::ReadTextObjectsAnyLayout(kMeshText, mesh, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto mesh32 = xfile::WriteBinary(mesh, 4);
    const auto mesh64 = xfile::WriteBinary(mesh, 8);
    Write(folder / "xbinary/mesh32.x", mesh32);
    Write(folder / "xbinary/mesh64.x", mesh64);

    xfile::Document animated;
    if (!xfile::ReadTextObjectsAnyLayout(kAnimatedText, animated, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto animated32 = xfile::WriteBinary(animated, 4);
    Write(folder / "xbinary/animations32.x", animated32);
    Write(folder / "xbinary/animations64.x", xfile::WriteBinary(animated, 8));

    // A template, a primitive-typed object, a lone integer, a string list
    // with both terminators and a 32-bit wide one, a GUID on an object.
    xfile::TokenWriter tokens;
    tokens.Header()
        .Word(xfile::Token::Template).Name("Coords").Word(xfile::Token::OpenBrace)
        .GuidRecord({0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}})
        .Word(xfile::Token::Array).Word(xfile::Token::Float).Name("v").Word(xfile::Token::OpenBracket)
        .Integer(3).Word(xfile::Token::CloseBracket).Word(xfile::Token::Semicolon)
        .Word(xfile::Token::OpenBracket).Word(xfile::Token::Dot).Word(xfile::Token::Dot).Word(xfile::Token::Dot)
        .Word(xfile::Token::CloseBracket).Word(xfile::Token::CloseBrace)
        .Word(xfile::Token::Dword).Word(xfile::Token::OpenBrace).Integer(7).Word(xfile::Token::CloseBrace)
        .Name("Names").Name("list").Word(xfile::Token::OpenBrace)
        .GuidRecord({1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}})
        .String("a", xfile::Token::Comma).String("b").Raw16(0).Integer(1)
        .Name("Inner").Word(xfile::Token::OpenBrace).Word(xfile::Token::CloseBrace)
        .Word(xfile::Token::CloseBrace);
    Write(folder / "xbinary/tokens.x", tokens.bytes());

    // Compressed twins in blocks of 64 and 200 bytes, and the text in blocks of 100.
    Write(folder / "mszip/mesh32_64.x", xfile::CompressMszip(mesh32, 64));
    Write(folder / "mszip/mesh64_200.x", xfile::CompressMszip(mesh64, 200));
    Write(folder / "mszip/tokens.x", xfile::CompressMszip(tokens.bytes()));
    Write(folder / "mszip/text_100.x", xfile::CompressMszip(Bytes(kMeshText), 100));
    Write(folder / "mszip/animations32_300.x", xfile::CompressMszip(animated32, 300));
    return 0;
}
