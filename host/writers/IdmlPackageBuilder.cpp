#include "IdmlPackageBuilder.h"

#include <algorithm>
#include <sstream>

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

std::string IdmlPackageBuilder::Serialize(const pugi::xml_document& xml)
{
    std::ostringstream text;
    xml.save(text, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return text.str();
}

void IdmlPackageBuilder::SealParts()
{
    for (; mSealed < mParts.size(); ++mSealed) {
        Part& part = mParts[mSealed];
        part.text = Serialize(*part.xml);
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
    entries.push_back(ZipEntry{"designmap.xml", Serialize(mDesignMap), true});
    entries.push_back(ZipEntry{"META-INF/container.xml", kContainer, true});
    for (Part* part : parts) entries.push_back(ZipEntry{part->path, std::move(part->text), true});
    return ZipArchiveWriter::Pack(entries, package);
}
