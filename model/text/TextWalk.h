// The walk of the text reader over a file's significant lines, and its state:
// the stack of open blocks, the mesh being filled, the material slot being
// filled, the shared materials read so far by name, the open frames and
// animations. Each recognised data object is handed to its reader
// (MeshObjects.cpp, MaterialObjects.cpp, SceneObjects.cpp, SurfaceObjects.cpp,
// AnimationObjects.cpp), which reads its values from the lines below the
// object's brace line.
#pragma once

#include "model/LoadError.h"
#include "model/Model.h"
#include "model/objects/MaterialRules.h"
#include "model/text/SignificantLines.h"
#include "platform/ResultCodes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class BlockNumbers;
struct Words;

class TextReader {
public:
    static constexpr std::int32_t kMaxBlockDepth = 255;

    // A face line that cannot be read: a negative corner count, more corners
    // than the line can hold, or an index that names no vertex.
    struct FaceFault {
        enum class Kind { NegativeCount, TooManyCorners, BadIndex } kind = Kind::NegativeCount;
        std::int32_t face = 0;   // from the first face line
        std::int32_t value = 0;  // the count or the index
    };

    // `text` holds the file's bytes; `split` its significant lines.
    TextReader(Model& model, std::string_view text, SplitText split);

    // Header, braces, then every block in file order. On failure the
    // refusal holds the message.
    HRESULT Parse();
    // Keeps a message of the refusal (caption "Erreur", a warning) for the
    // caller to show: the reader itself shows nothing.
    void Refuse(std::string text) const;
    // Why Parse failed, its messages in order.
    LoadError TakeRefusal();
    HRESULT CheckHeader();
    HRESULT CheckBraces() const;
    HRESULT DispatchObject(std::string_view word, std::int32_t line);

    HRESULT ReadHeader(std::int32_t line);
    HRESULT ReadMesh(std::int32_t line);
    HRESULT ReadMeshTextureCoords(std::int32_t line);
    HRESULT ReadMeshMaterialList(std::int32_t line);
    HRESULT ReadMaterial(std::int32_t line);
    HRESULT ReadTextureFilename(std::int32_t line);
    void ResolveMaterialReference(std::string_view name);
    // Frames and skins: read for the scene as authored, never a cause to
    // refuse a file (see SceneObjects.cpp).
    void OpenFrame(std::int32_t line);
    void ReadFrameTransformMatrix(std::int32_t line);
    void ReadSkinWeights(std::int32_t line);
    // The stored normals and vertex colours of the mesh being read, kept
    // when they fit it (see SurfaceObjects.cpp).
    void ReadMeshNormals(std::int32_t line);
    void ReadMeshVertexColors(std::int32_t line);
    // Animations, read the same way (see AnimationObjects.cpp): sets, the
    // animations directly in a set, their keys, options and frame reference.
    void OpenAnimationSet(std::int32_t line);
    void OpenAnimation(std::int32_t line);
    void ReadAnimationKey(std::int32_t line);
    void ReadAnimationOptions(std::int32_t line);
    void ReadAnimTicksPerSecond(std::int32_t line);
    void TakeFrameReference(std::string_view line);

    // The significant line `line` (0-based); an empty text past the last one.
    std::string_view Line(std::int32_t line) const
    {
        if (line < 0 || line >= lineCount()) return {};
        const LineSpan span = lines_[static_cast<std::size_t>(line)];
        return text_.substr(span.begin, span.length);
    }
    std::int32_t lineCount() const { return static_cast<std::int32_t>(lines_.size()); }
    // The significant lines `first` on, in order, for the long lists: each
    // line for a step, not a search; empty texts past the last one.
    class LineCursor {
    public:
        LineCursor(std::string_view text, LineTable::Cursor lines) : text_(text), lines_(lines) {}
        std::string_view Next()
        {
            const LineSpan span = lines_.Next();
            return text_.substr(span.begin, span.length);
        }

    private:
        std::string_view text_;
        LineTable::Cursor lines_;
    };
    LineCursor LinesFrom(std::int32_t first) const
    {
        return {text_, lines_.From(first < 0 ? lines_.size() : static_cast<std::size_t>(first))};
    }
    // The file's own 1-based line number of significant line `line`, for messages.
    std::int32_t FileLineNumber(std::int32_t line) const;
    // Whether `count` elements, one per line from line `first` on, stand in
    // the block of the object being read (the closing line may hold the last one).
    bool CountFits(std::int32_t count, std::int32_t first) const;

private:
    // Runs `beside` once on the way, on whichever core comes to it.
    std::optional<FaceFault> ReadFaces(std::int32_t firstLine, std::int32_t faceCount, std::int32_t vertexCount,
                                       FaceList& faces, const std::function<void()>& beside) const;
    std::optional<FaceFault> ReadFacesInOnePass(std::int32_t firstLine, std::int32_t faceCount,
                                                std::int32_t vertexCount, FaceList& faces) const;

    // Whether the block `fromInnermost` places out from the innermost open one is `word`.
    bool IsOpenBlock(std::int32_t fromInnermost, std::string_view word) const;
    // Whether `line`, a brace line that opens and closes, is a reference inside
    // an animation object rather than a block of its own.
    bool IsAnimationReference(std::string_view line) const;
    void CloseAnimationBlocks();
    void StoreCurrentMesh();
    // The line that names the block opened at `line`: the line above when it
    // begins with "{".
    std::string_view NamingLine(std::int32_t line) const;
    // The numbers of lines `first` to `last`, the first of them from `from` on.
    std::vector<float> NumbersOfLines(std::int32_t first, std::size_t from, std::int32_t last) const;
    // Calls add(value, field) for each of those numbers, with the text it
    // was read from; with `leadingString`, takes the first quoted string
    // before them.
    template <class Add>
    void ForEachNumber(std::int32_t first, std::size_t from, std::int32_t last, std::string_view* leadingString,
                       Add&& add) const;
    // The numbers of the block opened at `line`, from the line below it to the
    // block's end, as the object rules read them; with `leadingString`, the
    // first quoted string before them.
    BlockNumbers NumberRunOfBlock(std::int32_t line, std::string_view* leadingString) const;
    // The object's own numbers: after the "{" of `line`, up to the next brace
    // line (the block's end, or a block inside it).
    std::vector<float> OwnNumbers(std::int32_t line) const;
    // The animation being read, when the innermost open block is one.
    AnimationRecord* CurrentAnimation();

    Model& model_;
    LoadErrorKind refusalKind_ = LoadErrorKind::Refused;
    mutable std::vector<platform::Message> refusalMessages_;  // told by the const steps too
    std::string_view text_;
    LineTable lines_;
    std::vector<BraceLine> braceLines_;

    MeshRecord currentMesh_;
    std::deque<MeshRecord> storedMeshes_;  // in file order; a deque never moves them while it grows
    std::int32_t materialCursor_ = 0;      // slots of currentMesh_'s list filled so far
    std::vector<std::string_view> blockStack_;  // first words of the open blocks, outermost first
    std::vector<std::int32_t> openFrames_;      // the open "Frame" blocks' frames, outermost first
    std::int32_t objectBlockEnd_ = -1;     // last line of the block of the object being read
    std::int32_t objectDataEnd_ = -1;      // last line of its own numbers: the next brace line
    // The open "AnimationSet" blocks and the open animations being read, each
    // with its place in blockStack_, outermost first.
    struct SetBeingRead {
        std::size_t depth;
        std::size_t set;  // in Model::animationSets
    };
    struct AnimationBeingRead {
        std::size_t depth;
        std::size_t set;
        std::size_t animation;  // in its set
        bool referenced = false;  // its frame was named by a reference
    };
    std::vector<SetBeingRead> openSets_;
    std::vector<AnimationBeingRead> openAnimations_;
    objects::SharedMaterials sharedMaterials_;
};
