// The benchmark's peer: a .x file to .glb with the Open Asset Import Library,
// imported with the one step its glb2 exporter needs (triangles).
//   peer_convert IN.x OUT.glb
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: peer_convert IN.x OUT.glb\n");
        return 2;
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(argv[1], aiProcess_Triangulate);
    if (!scene) {
        std::fprintf(stderr, "peer_convert: %s\n", importer.GetErrorString());
        return 1;
    }
    Assimp::Exporter exporter;
    if (exporter.Export(scene, "glb2", argv[2]) != AI_SUCCESS) {
        std::fprintf(stderr, "peer_convert: %s\n", exporter.GetErrorString());
        return 1;
    }
    return 0;
}
