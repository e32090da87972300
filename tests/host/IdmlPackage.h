// IdmlPackage: reads an IDML package back for tests, and checks what every package must satisfy.
//
//   IdmlPackage package = IdmlPackage::Open("out.idml");
//   ASSERT_TRUE(package.IsOpen()) << package.GetError();
//   EXPECT_THAT(package.Check(), ::testing::IsEmpty());          // layout and references
//   pugi::xml_node page = package.FindSelf("u7");                 // any element by its Self
//   for (pugi::xml_node spread : package.FindAll("Spread")) ...   // elements across all parts
//
// CheckPackage: the ZIP layout (mimetype first, stored, no extra field, exact content; at byte 0
// as readers sniff it), every XML entry well formed, designmap.xml with its <?aid?> instruction,
// a part for every idPkg:* reference and a reference for every part, container.xml pointing at
// designmap.xml, one DOMVersion, designmap's children in the order readers need.
// CheckReferences: every Self unique; every attribute that names an element (ParentStory,
// AppliedMaster, ItemLayer, Applied...Style, colour attributes, PageStart, StoryList, ...) and
// every <... type="object"> property names a Self in the package ("n" names nothing); threaded
// frames agree in both directions.
// Each problem is one line, "part: what is wrong". Header only: include it from any test.
#pragma once

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

class IdmlPackage {
public:
    static constexpr const char* kMimeType = "application/vnd.adobe.indesign-idml-package";

    // Reads the package at `path`; IsOpen() says whether it could be read as a ZIP archive.
    static IdmlPackage Open(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        if (!file) return Failed("cannot read " + path);
        return FromBytes(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    }

    // Reads a package held in memory.
    static IdmlPackage FromBytes(std::string bytes)
    {
        IdmlPackage package;
        package.mBytes = std::move(bytes);
        package.ReadArchive();
        return package;
    }

    bool IsOpen() const { return mError.empty(); }
    // Why the package could not be read; empty when it was.
    const std::string& GetError() const { return mError; }

    // The entry names in archive order.
    std::vector<std::string> GetEntryNames() const
    {
        std::vector<std::string> names;
        for (const ZipItem& entry : mEntries) names.push_back(entry.name);
        return names;
    }
    bool HasEntry(const std::string& name) const { return FindEntry(name) != nullptr; }
    // The bytes of entry `name`; empty when there is none.
    std::string Entry(const std::string& name) const
    {
        const ZipItem* entry = FindEntry(name);
        return entry ? entry->data : std::string();
    }
    // The root element of XML part `name` ("designmap.xml"); an empty node when the part is
    // missing or not well formed.
    pugi::xml_node Part(const std::string& name) const
    {
        auto it = mXml.find(name);
        return it == mXml.end() ? pugi::xml_node() : it->second->document_element();
    }
    // The whole XML document of part `name` (for processing instructions); null when missing.
    const pugi::xml_document* PartDocument(const std::string& name) const
    {
        auto it = mXml.find(name);
        return it == mXml.end() ? nullptr : it->second.get();
    }
    // The element whose Self is `self`, in any part; an empty node when none has it.
    pugi::xml_node FindSelf(const std::string& self) const
    {
        for (const auto& [name, xml] : mXml)
            if (pugi::xml_node found = xml->find_node([&](pugi::xml_node n) { return self == n.attribute("Self").value(); }))
                return found;
        return pugi::xml_node();
    }
    // Every element named `element` ("Page", "idPkg:Spread"), part by part in archive order.
    std::vector<pugi::xml_node> FindAll(const std::string& element) const
    {
        std::vector<pugi::xml_node> found;
        ForEachElement([&](const std::string&, pugi::xml_node n) {
            if (element == n.name()) found.push_back(n);
        });
        return found;
    }

    std::vector<std::string> Check() const
    {
        std::vector<std::string> problems = CheckPackage();
        std::vector<std::string> references = CheckReferences();
        problems.insert(problems.end(), references.begin(), references.end());
        return problems;
    }

    std::vector<std::string> CheckPackage() const
    {
        std::vector<std::string> problems;
        if (!IsOpen()) return {"package: " + mError};
        CheckMimeType(problems);
        for (const auto& [name, error] : mXmlErrors) problems.push_back(name + ": not well formed: " + error);
        CheckContainer(problems);
        pugi::xml_node designMap = Part("designmap.xml");
        if (!designMap) {
            problems.push_back("designmap.xml: missing");
            return problems;
        }
        if (std::string(designMap.name()) != "Document") problems.push_back("designmap.xml: root is not <Document>");
        pugi::xml_node aid = PartDocument("designmap.xml")->find_child([](pugi::xml_node n) {
            return n.type() == pugi::node_pi && std::string(n.name()) == "aid";
        });
        if (!aid || std::string(aid.value()).find("type=\"document\"") == std::string::npos)
            problems.push_back("designmap.xml: no <?aid ... type=\"document\" ...?> instruction");
        CheckPartList(designMap, problems);
        CheckDesignMapOrder(designMap, problems);
        CheckDomVersions(designMap, problems);
        return problems;
    }

    std::vector<std::string> CheckReferences() const
    {
        std::vector<std::string> problems;
        std::map<std::string, std::string> selfs;  // Self -> part
        ForEachElement([&](const std::string& part, pugi::xml_node n) {
            pugi::xml_attribute self = n.attribute("Self");
            if (!self) return;
            auto [it, added] = selfs.emplace(self.value(), part);
            if (!added) problems.push_back(part + ": Self \"" + self.value() + "\" also in " + it->second);
        });
        auto check = [&](const std::string& part, pugi::xml_node n, const std::string& what, const std::string& id) {
            if (!id.empty() && id != "n" && !selfs.count(id))
                problems.push_back(part + ": " + Describe(n) + " " + what + "=\"" + id + "\": no element has this Self");
        };
        ForEachElement([&](const std::string& part, pugi::xml_node n) {
            for (pugi::xml_attribute attribute : n.attributes()) {
                std::string name = attribute.name();
                if (IsReferenceList(name)) {
                    std::istringstream ids(attribute.value());
                    for (std::string id; ids >> id;) check(part, n, name, id);
                } else if (IsReference(name)) {
                    check(part, n, name, attribute.value());
                }
            }
            if (std::string(n.attribute("type").value()) == "object") check(part, n.parent().parent(), n.name(), n.text().get());
        });
        CheckThreads(problems);
        return problems;
    }

private:
    struct ZipItem {
        std::string name;
        std::string data;
        bool stored = false;
        int extraFields = 0;
    };

    static IdmlPackage Failed(std::string error)
    {
        IdmlPackage package;
        package.mError = std::move(error);
        return package;
    }

    void ReadArchive()
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(mBytes.data(), mBytes.size(), 0, &error);
        zip_t* zip = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
        if (!zip) {
            mError = std::string("not a ZIP archive: ") + zip_error_strerror(&error);
            if (source) zip_source_free(source);
            zip_error_fini(&error);
            return;
        }
        zip_error_fini(&error);
        zip_int64_t count = zip_get_num_entries(zip, 0);
        for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count) && mError.empty(); ++i) ReadEntry(zip, i);
        zip_close(zip);
        for (const ZipItem& entry : mEntries) {
            if (entry.name.size() < 4 || entry.name.compare(entry.name.size() - 4, 4, ".xml") != 0) continue;
            auto xml = std::make_unique<pugi::xml_document>();
            pugi::xml_parse_result result = xml->load_buffer(entry.data.data(), entry.data.size(),
                                                             pugi::parse_default | pugi::parse_pi | pugi::parse_declaration,
                                                             pugi::encoding_utf8);
            // pugixml takes several root elements; XML allows one.
            size_t roots = 0;
            for (pugi::xml_node child : xml->children()) roots += child.type() == pugi::node_element;
            if (!result)
                mXmlErrors.emplace(entry.name, std::string(result.description()) + " at byte " + std::to_string(result.offset));
            else if (roots != 1)
                mXmlErrors.emplace(entry.name, std::to_string(roots) + " root elements");
            else
                mXml.emplace(entry.name, std::move(xml));
        }
    }

    void ReadEntry(zip_t* zip, zip_uint64_t index)
    {
        zip_stat_t stat;
        zip_file_t* file = zip_stat_index(zip, index, 0, &stat) == 0 ? zip_fopen_index(zip, index, 0) : nullptr;
        if (!file) {
            mError = "cannot read entry " + std::to_string(index);
            return;
        }
        ZipItem entry;
        entry.name = stat.name;
        entry.stored = stat.comp_method == ZIP_CM_STORE;
        entry.extraFields = zip_file_extra_fields_count(zip, index, ZIP_FL_LOCAL) + zip_file_extra_fields_count(zip, index, ZIP_FL_CENTRAL);
        entry.data.resize(stat.size);
        if (zip_fread(file, entry.data.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) mError = "cannot read " + entry.name;
        zip_fclose(file);
        mEntries.push_back(std::move(entry));
    }

    const ZipItem* FindEntry(const std::string& name) const
    {
        auto it = std::find_if(mEntries.begin(), mEntries.end(), [&](const ZipItem& e) { return e.name == name; });
        return it == mEntries.end() ? nullptr : &*it;
    }

    template <class F>
    void ForEachElement(F visit) const
    {
        for (const ZipItem& entry : mEntries) {
            auto it = mXml.find(entry.name);
            if (it == mXml.end()) continue;
            struct Walker : pugi::xml_tree_walker {
                const std::string* part;
                F* visit;
                bool for_each(pugi::xml_node& n) override
                {
                    if (n.type() == pugi::node_element) (*visit)(*part, n);
                    return true;
                }
            } walker;
            walker.part = &entry.name;
            walker.visit = &visit;
            it->second->traverse(walker);
        }
    }

    static std::string Describe(pugi::xml_node n)
    {
        std::string text = std::string("<") + n.name();
        if (n.attribute("Self")) text += std::string(" Self=\"") + n.attribute("Self").value() + "\"";
        return text + ">";
    }

    static bool IsReference(const std::string& name)
    {
        static const std::set<std::string> kNames = {
            "ParentStory", "NextTextFrame", "PreviousTextFrame", "AppliedMaster", "ItemLayer", "ActiveLayer",
            "AppliedParagraphStyle", "AppliedCharacterStyle", "AppliedObjectStyle", "AppliedCellStyle",
            "AppliedTableStyle", "AppliedTOCStyle", "AppliedNumberingList", "AppliedNamedGrid", "NextStyle",
            "NumberingCharacterStyle", "BulletsCharacterStyle",
            "FillColor", "StrokeColor", "GapColor", "BaseColor", "StopColor", "ParagraphShadingColor",
            "UnderlineColor", "StrikeThroughColor", "RuleAboveColor", "RuleBelowColor", "TopEdgeStrokeColor",
            "BottomEdgeStrokeColor", "LeftEdgeStrokeColor", "RightEdgeStrokeColor", "StrokeType",
            "PageStart", "MarkupTag", "PrimaryTextFrame", "AppliedTrapPreset", "AppliedFormat",
            "Source", "Destination", "SourceText", "ParentTextFrame"};
        return kNames.count(name) != 0;
    }
    static bool IsReferenceList(const std::string& name) { return name == "StoryList" || name == "AppliedConditions"; }

    void CheckMimeType(std::vector<std::string>& problems) const
    {
        if (mEntries.empty() || mEntries.front().name != "mimetype") {
            problems.push_back("mimetype: not the first entry");
            return;
        }
        const ZipItem& mimetype = mEntries.front();
        if (!mimetype.stored) problems.push_back("mimetype: compressed (must be stored)");
        if (mimetype.extraFields) problems.push_back("mimetype: has a ZIP extra field");
        if (mimetype.data != kMimeType) problems.push_back("mimetype: content is \"" + mimetype.data + "\"");
        // Readers sniff the type at a fixed offset: local header, the name at 30, the content at 38.
        size_t contentEnd = 38 + std::strlen(kMimeType);
        if (mBytes.size() < contentEnd || mBytes.compare(0, 4, std::string("PK\x03\x04", 4)) != 0 || mBytes.compare(30, 8, "mimetype") != 0 ||
            mBytes.compare(38, std::strlen(kMimeType), kMimeType) != 0)
            problems.push_back("mimetype: its content is not at byte 38 of the file");
    }

    void CheckContainer(std::vector<std::string>& problems) const
    {
        pugi::xml_node container = Part("META-INF/container.xml");
        if (!container) {
            problems.push_back("META-INF/container.xml: missing");
            return;
        }
        std::string root = container.child("rootfiles").child("rootfile").attribute("full-path").value();
        if (root != "designmap.xml") problems.push_back("META-INF/container.xml: points at \"" + root + "\"");
    }

    void CheckPartList(pugi::xml_node designMap, std::vector<std::string>& problems) const
    {
        std::set<std::string> named = {"mimetype", "designmap.xml"};
        for (pugi::xml_node child : designMap.children()) {
            if (std::strncmp(child.name(), "idPkg:", 6) != 0) continue;
            std::string src = child.attribute("src").value();
            if (!HasEntry(src)) problems.push_back(std::string("designmap.xml: ") + child.name() + " src=\"" + src + "\": no such part");
            named.insert(src);
        }
        for (const ZipItem& entry : mEntries)
            if (!named.count(entry.name) && entry.name.rfind("META-INF/", 0) != 0)
                problems.push_back(entry.name + ": not named in designmap.xml");
    }

    void CheckDesignMapOrder(pugi::xml_node designMap, std::vector<std::string>& problems) const
    {
        static const std::vector<std::vector<std::string>> kOrder = {
            {"Language"}, {"idPkg:Graphic"}, {"idPkg:Fonts"}, {"idPkg:Styles"}, {"NumberingList"},
            {"idPkg:Preferences"}, {"TextVariable"}, {"idPkg:Tags"}, {"Layer"}, {"idPkg:MasterSpread"},
            {"idPkg:Spread"}, {"Section"}, {"CrossReferenceFormat"}, {"idPkg:BackingStory"}, {"idPkg:Story"},
            {"HyperlinkTextDestination", "HyperlinkPageDestination", "HyperlinkURLDestination"},
            {"Hyperlink", "CrossReferenceSource", "HyperlinkTextSource"}};
        size_t last = 0;
        std::string lastName;
        for (pugi::xml_node child : designMap.children()) {
            auto rank = std::find_if(kOrder.begin(), kOrder.end(), [&](const std::vector<std::string>& names) {
                return std::find(names.begin(), names.end(), child.name()) != names.end();
            });
            if (rank == kOrder.end()) continue;
            size_t index = static_cast<size_t>(rank - kOrder.begin());
            if (index < last) problems.push_back(std::string("designmap.xml: <") + child.name() + "> after <" + lastName + ">");
            last = std::max(last, index);
            if (index == last) lastName = child.name();
        }
    }

    void CheckDomVersions(pugi::xml_node designMap, std::vector<std::string>& problems) const
    {
        std::string version = designMap.attribute("DOMVersion").value();
        if (version.empty()) problems.push_back("designmap.xml: no DOMVersion");
        for (const auto& [name, xml] : mXml) {
            if (name.rfind("META-INF/", 0) == 0) continue;
            std::string own = xml->document_element().attribute("DOMVersion").value();
            if (own != version) problems.push_back(name + ": DOMVersion \"" + own + "\", designmap.xml has \"" + version + "\"");
        }
    }

    void CheckThreads(std::vector<std::string>& problems) const
    {
        std::map<std::string, pugi::xml_node> frames;
        for (pugi::xml_node frame : FindAll("TextFrame")) frames[frame.attribute("Self").value()] = frame;
        for (const auto& [self, frame] : frames) {
            std::string next = frame.attribute("NextTextFrame").as_string("n");
            auto it = frames.find(next);
            if (next != "n" && it != frames.end() && self != it->second.attribute("PreviousTextFrame").value())
                problems.push_back("TextFrame " + self + ": NextTextFrame " + next + " does not name it as PreviousTextFrame");
        }
    }

    std::string mBytes;
    std::string mError;
    std::vector<ZipItem> mEntries;
    std::map<std::string, std::unique_ptr<pugi::xml_document>> mXml;
    std::map<std::string, std::string> mXmlErrors;
};
