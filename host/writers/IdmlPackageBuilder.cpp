#include "IdmlPackageBuilder.h"

#include <algorithm>

#include "ZipArchiveWriter.h"

namespace {

const char* kContainer =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
    "\t<rootfiles>\n"
    "\t\t<rootfile full-path=\"designmap.xml\" media-type=\"text/xml\" />\n"
    "\t</rootfiles>\n"
    "</container>\n";

void AppendDeclaration(pugi::xml_document& xml)
{
    pugi::xml_node declaration = xml.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    declaration.append_attribute("standalone").set_value("yes");
}

pugi::xml_node AppendPackageRoot(pugi::xml_document& xml, const std::string& name)
{
    pugi::xml_node root = xml.append_child(name.c_str());
    root.append_attribute("xmlns:idPkg").set_value(IdmlPackageBuilder::kPackageNamespace);
    root.append_attribute("DOMVersion").set_value(IdmlPackageBuilder::kDOMVersion);
    return root;
}

constexpr unsigned kFormat = pugi::format_indent | pugi::format_no_declaration;
constexpr size_t kPieceSize = size_t(1) << 20;
// Stands for the children of a part's streamed element when the part is first written.
constexpr const char* kChildrenMark = "tessel children written out";

} // namespace

IdmlPackageBuilder::IdmlPackageBuilder()
{
    AppendDeclaration(mDesignMap);
    // Layout programs look for this instruction to know the file is a document they can read.
    pugi::xml_node aid = mDesignMap.append_child(pugi::node_pi);
    aid.set_name("aid");
    aid.set_value((std::string("style=\"50\" type=\"document\" readerVersion=\"6.0\" featureSet=\"257\" product=\"") +
                   kProduct + "\"").c_str());
    AppendPackageRoot(mDesignMap, "Document");
}

IdmlPackageBuilder::~IdmlPackageBuilder() = default;

pugi::xml_node IdmlPackageBuilder::AddDesignMapElement(IdmlSlot slot, const char* name)
{
    auto index = static_cast<size_t>(slot);
    // After the last element of this slot or of the nearest slot before it; first otherwise.
    pugi::xml_node after;
    for (size_t i = index + 1; i-- > 0 && !after;) after = mLastInSlot[i];
    pugi::xml_node root = GetDesignMap();
    pugi::xml_node element = after ? root.insert_child_after(name, after) : root.prepend_child(name);
    mLastInSlot[index] = element;
    return element;
}

pugi::xml_node IdmlPackageBuilder::AddPart(IdmlSlot slot, const char* kind, const std::string& path)
{
    std::string name = std::string("idPkg:") + kind;
    AddDesignMapElement(slot, name.c_str()).append_attribute("src").set_value(path.c_str());
    auto xml = std::make_unique<pugi::xml_document>();
    AppendDeclaration(*xml);
    pugi::xml_node root = AppendPackageRoot(*xml, name);
    mParts.push_back(Part{slot, path, std::move(xml)});
    return root;
}

void IdmlPackageBuilder::PartText::write(const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        if (pieces.empty() || pieces.back().size() >= kPieceSize) {
            // A part's first piece grows as strings do (most parts are small); a long part's
            // next pieces are made whole at once.
            pieces.emplace_back();
            if (pieces.size() > 1) pieces.back().reserve(kPieceSize);
        }
        std::string& piece = pieces.back();
        const size_t take = std::min(size, std::max(kPieceSize, piece.size()) - piece.size());
        piece.append(bytes, take);
        bytes += take;
        size -= take;
    }
}

void IdmlPackageBuilder::PartText::Trim()
{
    if (!pieces.empty()) pieces.back().shrink_to_fit();
}

void IdmlPackageBuilder::Serialize(const pugi::xml_document& xml, pugi::xml_writer& text)
{
    xml.save(text, "\t", kFormat, pugi::encoding_utf8);
}

void IdmlPackageBuilder::Serialize(pugi::xml_node node, pugi::xml_writer& text, unsigned depth)
{
    node.print(text, "\t", kFormat, pugi::encoding_utf8, depth);
}

void IdmlPackageBuilder::WriteChildren(Part& part)
{
    for (pugi::xml_node child : part.streamed.children()) Serialize(child, part.text, part.depth);
    part.streamed.remove_children();
}

void IdmlPackageBuilder::WriteOut(pugi::xml_node element)
{
    Part* part = nullptr;
    for (size_t i = mSealed; i < mParts.size() && !part; ++i)
        if (mParts[i].xml && element.root() == *mParts[i].xml) part = &mParts[i];
    if (!part || !element.first_child()) return;
    if (part->streamed) {
        if (part->streamed == element) WriteChildren(*part);
        return;
    }
    // The first time, the part is written whole with a mark after the element's children: the
    // text before the mark's line is the part so far, the text after it closes the part, and
    // the mark's indentation is the children's depth.
    pugi::xml_node mark = element.append_child(pugi::node_comment);
    mark.set_value(kChildrenMark);
    PartText whole;
    Serialize(*part->xml, whole);
    std::string text;
    for (const std::string& piece : whole.pieces) text += piece;
    const size_t at = text.rfind(std::string("<!--") + kChildrenMark + "-->");
    const size_t lineStart = text.rfind('\n', at) + 1;  // npos + 1 is 0
    const size_t lineEnd = text.find('\n', at);
    part->text.write(text.data(), lineStart);
    part->tail = lineEnd == std::string::npos ? std::string() : text.substr(lineEnd + 1);
    part->depth = static_cast<unsigned>(at - lineStart);
    part->streamed = element;
    element.remove_children();
}

void IdmlPackageBuilder::SealParts()
{
    for (; mSealed < mParts.size(); ++mSealed) {
        Part& part = mParts[mSealed];
        if (part.streamed) {
            WriteChildren(part);
            part.text.write(part.tail.data(), part.tail.size());
            part.tail = std::string();
        } else {
            Serialize(*part.xml, part.text);
        }
        part.text.Trim();
        part.xml.reset();
    }
}

ErrorCode IdmlPackageBuilder::Pack(std::string* package)
{
    SealParts();
    std::vector<Part*> parts;
    for (Part& part : mParts) parts.push_back(&part);
    std::stable_sort(parts.begin(), parts.end(), [](const Part* a, const Part* b) { return a->slot < b->slot; });

    std::vector<ZipEntry> entries;
    entries.push_back(ZipEntry{"mimetype", kMimeType, false});
    PartText designMap;
    Serialize(mDesignMap, designMap);
    entries.push_back(ZipEntry{"designmap.xml", {}, true, std::move(designMap.pieces)});
    entries.push_back(ZipEntry{"META-INF/container.xml", kContainer, true});
    for (Part* part : parts) entries.push_back(ZipEntry{part->path, {}, true, std::move(part->text.pieces)});
    return ZipArchiveWriter::Pack(entries, package);
}
