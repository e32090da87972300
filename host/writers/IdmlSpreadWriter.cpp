#include "IdmlSpreadWriter.h"

#include <algorithm>
#include <set>

#include "DataBase.h"
#include "Document.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlTextFrameWriter.h"
#include "IdmlXml.h"
#include "Spread.h"
#include "TextFrame.h"

namespace {

// The pages of `spread` that exist and were not written in an earlier spread.
std::vector<const Page*> ClaimPages(IdmlContext& context, const Spread& spread)
{
    std::vector<const Page*> pages;
    for (UID uid : spread.pages) {
        const Page* page = context.GetDataBase().Get<Page>(uid);
        if (page && context.Claim(uid)) pages.push_back(page);
    }
    return pages;
}

pugi::xml_node WritePage(pugi::xml_node parent, const Page& page, const PMString& name, const std::string& master)
{
    pugi::xml_node element = parent.append_child("Page");
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(page.GetUID()));
    IdmlXml::AddProperty(element, "PageColor", "enumeration", "UseMasterColor");
    IdmlXml::SetText(element, "Name", name);
    IdmlXml::SetText(element, "AppliedMaster", master);
    IdmlXml::SetText(element, "OverrideList", "");
    IdmlXml::SetText(element, "TabOrder", "");
    IdmlXml::SetText(element, "GridStartingPoint", "TopOutside");
    IdmlXml::SetBool(element, "UseMasterGrid", true);
    IdmlXml::SetText(element, "ItemTransform",
                     IdmlXml::Matrix(PMMatrix::Translation(page.boundsInSpread.left, page.boundsInSpread.top)));
    IdmlXml::SetText(element, "GeometricBounds", IdmlXml::Bounds(PMRect(0, 0, page.width, page.height)));
    IdmlXml::SetText(element, "MasterPageTransform", IdmlXml::Matrix(PMMatrix()));
    return element;
}

void SetSpreadAttributes(pugi::xml_node element, const Spread& spread, size_t pageCount)
{
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(spread.GetUID()));
    IdmlXml::SetText(element, "ItemTransform", IdmlXml::Matrix(PMMatrix()));
    IdmlXml::SetBool(element, "ShowMasterItems", true);
    IdmlXml::SetInteger(element, "PageCount", static_cast<int64>(pageCount));
}

// The master `master` is based on, unless following the chain of bases leads back to it.
UID BaseOf(const DataBase& db, const MasterSpread& master)
{
    std::set<UID> seen{master.GetUID()};
    for (UID base = master.basedOn; base != kInvalidUID;) {
        if (!seen.insert(base).second) return kInvalidUID;
        const MasterSpread* next = db.Get<MasterSpread>(base);
        base = next ? next->basedOn : kInvalidUID;
    }
    return master.basedOn;
}

// The master's primary text frame, when it is a text frame written with the master's items.
std::string PrimaryTextFrameRef(const DataBase& db, const MasterSpread& master)
{
    UID frame = master.primaryTextFrame;
    bool listed = std::find(master.pageItems.begin(), master.pageItems.end(), frame) != master.pageItems.end();
    return frame != kInvalidUID && listed && db.Get<TextFrame>(frame) ? IdmlIds::ForUID(frame) : IdmlIds::kNone;
}

void WriteMasterSpread(IdmlContext& context, const MasterSpread& master, const std::vector<const Page*>& pages)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kMasterSpread, "MasterSpread", IdmlIds::MasterSpreadPart(master.GetUID()));
    pugi::xml_node element = root.append_child("MasterSpread");
    SetSpreadAttributes(element, master, pages.size());
    IdmlXml::SetText(element, "Name", master.GetName());
    IdmlXml::SetText(element, "NamePrefix", master.prefix);
    IdmlXml::SetText(element, "BaseName", master.baseName);
    IdmlXml::SetText(element, "OverriddenPageItemProps", "");
    IdmlXml::SetText(element, "PrimaryTextFrame", PrimaryTextFrameRef(context.GetDataBase(), master));
    // A master based on another applies that master to each of its pages.
    std::string base = context.MasterRef(BaseOf(context.GetDataBase(), master));
    for (const Page* page : pages) WritePage(element, *page, master.prefix, base);
    IdmlTextFrameWriter::WritePageItems(context, element, master);
}

void WriteSpread(IdmlContext& context, const Spread& spread)
{
    std::vector<const Page*> pages = ClaimPages(context, spread);
    if (pages.empty()) return;
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kSpread, "Spread", IdmlIds::SpreadPart(spread.GetUID()));
    pugi::xml_node element = root.append_child("Spread");
    SetSpreadAttributes(element, spread, pages.size());
    IdmlXml::SetInteger(element, "BindingLocation", std::clamp<int64>(spread.bindingLocation, 0, static_cast<int64>(pages.size())));
    IdmlXml::SetBool(element, "AllowPageShuffle", true);
    IdmlXml::SetText(element, "FlattenerOverride", "Default");
    for (const Page* page : pages)
        WritePage(element, *page, context.GetNumbering().GetPageName(page->GetUID()), context.MasterRef(page->appliedMaster));
    IdmlTextFrameWriter::WritePageItems(context, element, spread);
    context.GetPackage().SealParts();
}

} // namespace

void IdmlSpreadWriter::WriteMasterSpreads(IdmlContext& context)
{
    // All masters are known before any is written, since a master may be based on one listed
    // after it.
    std::vector<std::pair<const MasterSpread*, std::vector<const Page*>>> masters;
    for (UID uid : context.GetDocument().masterSpreads) {
        const MasterSpread* master = context.GetDataBase().Get<MasterSpread>(uid);
        if (!master || !context.Claim(uid)) continue;
        std::vector<const Page*> pages = ClaimPages(context, *master);
        if (pages.empty()) continue;
        context.AddMaster(uid);
        masters.emplace_back(master, std::move(pages));
    }
    for (const auto& [master, pages] : masters) WriteMasterSpread(context, *master, pages);
}

void IdmlSpreadWriter::WriteSpreads(IdmlContext& context)
{
    for (UID uid : context.GetDocument().spreads) {
        const Spread* spread = context.GetDataBase().Get<Spread>(uid);
        if (spread && !dynamic_cast<const MasterSpread*>(spread) && context.Claim(uid)) WriteSpread(context, *spread);
    }
}
