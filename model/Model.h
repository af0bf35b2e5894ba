// One loaded ".x" file: its header values, meshes and shared materials, the
// state of the reader while it walks the file, and the model's display list.
#pragma once

#include "model/Records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class Model {
public:
    static constexpr int kMaxBlockDepth = 255;

    Model();
    ~Model() { Clear(); }
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // --- Loading (reader: model/; post-load sequence: render/) ---
    // Reads the file, walks it, then runs the post-load sequence.
    HRESULT Load(const std::string& path);
    // The same from bytes already in memory; `path` names the file in messages
    // and locates textures.
    HRESULT LoadFromMemory(const std::string& path, std::string bytes);
    // Reading alone: lines, header, braces, objects; no post-load step.
    HRESULT ReadFile(const std::string& path);
    HRESULT ReadMemory(const std::string& path, std::string bytes);
    HRESULT Parse();
    HRESULT CheckHeader();
    HRESULT CheckBraces();
    std::int32_t CountObjects(std::string_view word, std::string_view stopWord = {}) const;
    HRESULT DispatchObject(std::string_view word, std::int32_t line);

    HRESULT ReadHeader(std::int32_t line);
    HRESULT ReadMesh(std::int32_t line);
    HRESULT ReadMeshTextureCoords(std::int32_t line);
    HRESULT ReadMeshMaterialList(std::int32_t line);
    HRESULT ReadMaterial(std::int32_t line);
    HRESULT ReadTextureFilename(std::int32_t line);
    void ResolveMaterialReference(std::string_view name);
    void LoadMaterialTextures();

    // --- Records ---
    void Clear();
    std::int32_t CountTexturedMaterials() const;
    void SortMeshesByOpacity();

    // --- Render preparation (render/) ---
    void ComputeBoundingBoxes();
    void TriangulateFaces();
    void ComputeMeshNormals(std::int32_t mesh);
    HRESULT ComputeNormals();
    HRESULT InvertNormals();
    HRESULT RebuildRenderData();
    void BuildRenderArrays();
    void BuildDisplayList();
    HRESULT SetupBufferObjects();

    // --- Draw paths (render/) ---
    void DrawImmediate() const;
    void DrawDisplayList() const;
    void DrawIndexedArrays() const;
    void DrawBufferObjects() const;
    void DrawNormals() const;
    void DrawBoundingBox() const;

    // --- Reports (report/) ---
    void ShowInfo() const;
    void SaveText(const std::string& path) const;

    // The significant line `line` of the file (0-based), and the file's own
    // 1-based line number where it stands, for messages.
    std::string_view Line(std::int32_t line) const;
    std::int32_t FileLineNumber(std::int32_t line) const;
    std::int32_t lineCount() const { return static_cast<std::int32_t>(lines.size()); }

    MeshRecord currentMesh;
    std::vector<MaterialRecord> sharedMaterials;
    std::int32_t sharedMaterialCount = 0;
    std::int32_t sharedMaterialsRead = 0;
    std::int32_t versionMajor = 0;
    std::int32_t versionMinor = 0;
    std::string formatType;
    std::int32_t floatSize = 0;
    std::int32_t headerMajor = 0;
    std::int32_t headerMinor = 0;
    std::int32_t headerFlags = 0;
    std::vector<MeshRecord> meshes;
    std::int32_t meshCount = 0;
    std::int32_t materialCursor = 0;
    std::vector<std::string> blockStack;
    std::int32_t blockDepth = 0;
    // The last line of the block whose object is being read: its counts must
    // fit in the lines up to there.
    std::int32_t objectBlockEnd = -1;
    // Positions in sharedMaterials of each name read so far, by its lower-case form.
    std::unordered_map<std::string, std::vector<std::int32_t>> sharedMaterialsByName;
    GLuint displayList = kNoGlName;
    bool buffersReady = false;

    std::string sourcePath;  // the file as the load was given it

    // The file's bytes and, for each significant line, where it stands in
    // them once trimmed.
    struct LineSpan {
        std::uint32_t begin;
        std::uint32_t length;
    };
    std::string text;
    std::vector<LineSpan> lines;
};
