#include "tools/xfile_writer/BinaryWriter.h"

#include "tools/xfile_writer/TokenWriter.h"

namespace xfile {

namespace {
void WriteObjectHeader(TokenWriter& out, const DataObject& object)
{
    out.Name(object.type);
    if (!object.name.empty()) out.Name(object.name);
    out.Word(Token::OpenBrace);
    if (object.guid) out.GuidRecord(*object.guid);
}
}  // namespace

std::vector<std::uint8_t> WriteBinary(const Document& document, unsigned floatBytes)
{
    TokenWriter out(floatBytes);
    out.Header();
    // An explicit stack: each entry is an open object and its next part.
    struct Open {
        const DataObject* object;
        std::size_t next;
    };
    std::vector<Open> open;
    for (const std::uint32_t root : document.roots) {
        WriteObjectHeader(out, document.objects[root]);
        open.push_back({&document.objects[root], 0});
        while (!open.empty()) {
            Open& top = open.back();
            const auto parts = document.PartsOf(*top.object);
            if (top.next == parts.size()) {
                out.Word(Token::CloseBrace);
                open.pop_back();
                continue;
            }
            const DataPart& part = parts[top.next++];
            switch (part.kind) {
            case PartKind::Integers: out.Integers(document.IntegersOf(part)); break;
            case PartKind::Floats: out.Floats(document.FloatsOf(part)); break;
            case PartKind::Strings:
                for (const std::string& text : document.StringsOf(part)) out.String(text);
                break;
            case PartKind::References:
                for (const Reference& reference : document.ReferencesOf(part)) {
                    out.Word(Token::OpenBrace);
                    if (!reference.name.empty()) out.Name(reference.name);
                    if (reference.guid) out.GuidRecord(*reference.guid);
                    out.Word(Token::CloseBrace);
                }
                break;
            case PartKind::Object: {
                const DataObject* child = document.ObjectOf(part);
                WriteObjectHeader(out, *child);
                open.push_back({child, 0});
                break;
            }
            }
        }
    }
    return out.Take();
}

}  // namespace xfile
