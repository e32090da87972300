#include "layout/MifLayoutImporter.h"

#include <algorithm>
#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "DataBase.h"
#include "Document.h"
#include "DocumentOpener.h"
#include "InterfacePtr.h"
#include "MasterSpreadCommands.h"
#include "ObjectModel.h"
#include "PageCommands.h"
#include "PageItem.h"
#include "Spread.h"
#include "Story.h"
#include "TextComposer.h"
#include "TextFrameCommands.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "catalogs/IMifColorImporter.h"
#include "content/IMifContentImporter.h"
#include "layout/IMifTextFrameUtils.h"
#include "layout/MifPageGrower.h"
#include "layout/MifTextRectChains.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueLimits.h"
#include "prefs/IMifImportOptions.h"

void MifLayoutImporter::Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags)
{
    mSourceFile = file;
    mMifRoot = mifRoot;
    mUIFlags = uiFlags;
    mTempSpreads = UIDList(GetDataBase());
    // The log is a sibling on the document's object, which outlives the import: held without a
    // reference, or the object would keep itself alive.
    InterfacePtr<IMifErrorLog> importErrors(this, IID_IMIFERRORLOG);
    if (!importErrors) MIF_LOG_NIL(importErrors);
    mImportErrors = importErrors.get();
    // Siblings too, held the same way.
    InterfacePtr<IMifColorImporter> colorImporter(this, IID_IMIFCOLORIMPORTER);
    InterfacePtr<IMifContentImporter> contentImporter(this, IID_IMIFCONTENTIMPORTER);
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    MifGraphicImporter::Setup setup;
    setup.db = GetDataBase();
    setup.errors = mImportErrors;
    setup.colors = colorImporter.get();
    setup.content = contentImporter.get();
    setup.layout = this;
    setup.options = importOptions.get();
    setup.mifFile = file;
    setup.uiFlags = uiFlags;
    setup.itemObjects = &mItemObjects;
    setup.makeTextRect = [this](const MifObject& mifTextRect, const MifPlacement& placement) {
        return ImportTextRect(mifTextRect, placement.toSpread, placement.spread, placement.layer);
    };
    mGraphics.Init(setup);
    MifAnchoredFrameBuilder::Setup frames;
    frames.db = GetDataBase();
    frames.errors = mImportErrors;
    frames.graphics = &mGraphics;
    frames.lastSpread = [this]() { return mTempSpreads.IsEmpty() ? kInvalidUID : mTempSpreads.At(mTempSpreads.Length() - 1); };
    frames.newSpread = [this]() {
        CreateTemporarySpread();
        return mTempSpreads.IsEmpty() ? kInvalidUID : mTempSpreads.At(mTempSpreads.Length() - 1);
    };
    mAnchoredFrames.Init(frames);
}

void MifLayoutImporter::ImportAnchoredFrames()
{
    if (!mMifRoot) {
        MIF_LOG_NIL(mMifRoot);
        return;
    }
    const MifObject* aframes = mMifRoot->GetObject(kMifAFrames);
    if (!aframes) return;
    mGraphics.ResetState();
    mAnchoredFrames.BuildAll(*aframes);
    mGraphics.ResetState();
}

void MifLayoutImporter::CreateTemporarySpread()
{
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    auto newSpreadCmd = std::make_shared<NewSpreadCmd>();
    newSpreadCmd->position = -1;
    newSpreadCmd->numPages = 1;
    if (!MIF_RUN_COMMAND(newSpreadCmd, UIDList(db->GetDocument()->GetRef()))) return;
    if (newSpreadCmd->GetItemList().IsEmpty()) {
        MIF_LOG_FALSE(!newSpreadCmd->GetItemList().IsEmpty());
        return;
    }
    if (mTempSpreads.IsEmpty())
        mTempSpreads = newSpreadCmd->GetItemList();
    else
        mTempSpreads.Append(newSpreadCmd->GetItemList().At(0));
    mAnchoredFrames.ResetCursor();   // a new scratch page is packed from its top left
}

int32 MifLayoutImporter::GetTemporaryPageCount() const
{
    DataBase* db = mTempSpreads.GetDataBase();
    int32 count = 0;
    for (UID uid : mTempSpreads.GetUIDs())
        if (const Spread* spread = db ? db->Get<Spread>(uid) : nullptr) count += static_cast<int32>(spread->pages.size());
    return count;
}

void MifLayoutImporter::Finalize()
{
    for (int32 i = 0; i < mTempSpreads.Length(); ++i) {
        auto deleteSpreadCmd = std::make_shared<DeleteSpreadCmd>();
        deleteSpreadCmd->boolData = false;
        MIF_RUN_COMMAND(deleteSpreadCmd, UIDList(mTempSpreads.GetRef(i)));
    }
    mTempSpreads.Clear();
    // The content is in its stories: frames that miss their text by a descent make room for it,
    // then text that overflows an autoconnected flow gets the pages it needs, before balanced
    // frames are fitted to what they finally hold.
    MakeRoomForDescenders();
    AddPagesForOverflow();
    mGraphics.Finalize();
    BalanceColumns();
    // The statement tree is freed when the import ends: nothing may point into it after this.
    mItemObjects.clear();
    mChains.reset();
    mTextRects.clear();
}

const MifTextRectChains& MifLayoutImporter::Chains()
{
    if (!mChains) mChains.emplace(mTextRects, *mMifRoot);
    return *mChains;
}

namespace {

// Master prefixes in the order they are given; letter 0 is the new document's own master.
constexpr char kPrefixLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int32 kPrefixCount = 52;

PMString Trimmed(const PMString& text)
{
    const std::u16string& s = text.GetUTF16();
    size_t b = 0, e = s.size();
    auto blank = [](char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return PMString(s.substr(b, e - b));
}

const PMString* PageTag(const MifObject& mifPage)
{
    const MifProp* prop = mifPage.FindProp(kMifPageTag);
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

} // namespace

UID MifLayoutImporter::GetMasterForTag(const PMString& tag) const
{
    auto found = mMasterTagMap.find(tag);
    return found == mMasterTagMap.end() ? kInvalidUID : found->second;
}

void MifLayoutImporter::ImportLayout()
{
    DataBase* db = GetDataBase();
    if (!db || !mMifRoot) {
        MIF_LOG_NIL(mMifRoot);
        return;
    }
    const MifObject* mifDocument = mMifRoot->GetObject(kMifDocument);
    bool twoSided = mifDocument && mifDocument->GetBool(kMifDTwoSides);
    std::vector<const MifObject*> mifPages;
    for (const MifObject& mifPage : mMifRoot->Children(kMifPage)) mifPages.push_back(&mifPage);
    auto typeOf = [](const MifObject& mifPage) {
        MifPropVal pageType;
        return mifPage.GetPropVal(kMifPageType, pageType) ? pageType.keyword : kMifBodyPage;
    };
    auto isMaster = [](int32 type) { return type == kMifLeftMasterPage || type == kMifRightMasterPage || type == kMifOtherMasterPage; };

    // The master spreads first, in file order: writers such as openjade put the master pages
    // after the body pages that name them, and FrameMaker finds them wherever they stand.
    std::vector<UID> masterOf(mifPages.size(), kInvalidUID);
    size_t end = mifPages.size();  // a master page without a master ends the walk here
    int32 masterCount = 0;
    for (size_t i = 0; i < mifPages.size(); ++i) {
        int32 type = typeOf(*mifPages[i]);
        if (!isMaster(type)) continue;
        UID masterSpread = MasterSpreadFor(*mifPages[i], type, masterCount);
        if (masterSpread == kInvalidUID) {
            MIF_LOG_NIL(masterSpread);
            end = i;
            break;
        }
        masterOf[i] = masterSpread;
    }

    std::vector<UID> pageList = db->GetDocument()->GetPages();
    // The scratch spread's page stands after the body pages and is never a target.
    size_t bodyPages = pageList.size() - std::min(pageList.size(), static_cast<size_t>(GetTemporaryPageCount()));
    size_t bodyPage = 0;
    for (size_t i = 0; i < end; ++i) {
        const MifObject& mifPage = *mifPages[i];
        int32 type = typeOf(mifPage);
        if (type == kMifBodyPage) {
            if (bodyPage >= bodyPages) {
                MIF_LOG_FALSE(bodyPage < pageList.size());
                continue;
            }
            ImportPage(pageList[bodyPage++], mifPage);
        } else if (isMaster(type)) {
            if (type == kMifLeftMasterPage && !twoSided) continue;  // a single-sided document has no left pages
            const MasterSpread* master = db->Get<MasterSpread>(masterOf[i]);
            size_t index = type == kMifRightMasterPage && twoSided ? 1 : 0;
            if (!master || index >= master->pages.size()) {
                MIF_LOG_NIL(master);
                continue;
            }
            ImportPage(master->pages[index], mifPage);
        }
        // Reference and hidden pages, with everything on them, stay out of the document.
    }
    // Threads may run between any pages, so they are made once every frame exists; side heads
    // and templates follow, since a frame's flow is found through its thread.
    ThreadTextFrames();
    ApplySideheads();
    SetUpTemplateFrames();
}

UID MifLayoutImporter::MasterSpreadFor(const MifObject& mifPage, int32 pageType, int32& masterCount)
{
    const PMString* tag = PageTag(mifPage);
    if (!tag) {
        MifProblemReporter(mImportErrors).Report({mifPage.line, "Master page without PageTag", PMString()});
        return kInvalidUID;
    }
    DataBase* db = GetDataBase();
    UID masterSpread = kInvalidUID;
    if (pageType == kMifOtherMasterPage) {
        auto newMasterSpreadCmd = std::make_shared<NewMasterSpreadCmd>();
        // Letters B to z, then round again (without A, the document's own) with a number behind
        // the name, so that prefix and name stay unique.
        int32 round = masterCount / (kPrefixCount - 1);
        newMasterSpreadCmd->prefix = PMString(std::string(1, kPrefixLetters[1 + masterCount % (kPrefixCount - 1)]));
        PMString name = Trimmed(*tag);
        if (name.IsEmpty()) name = "Master";
        if (round > 0) {
            name.Append(" (");
            name.AppendNumber(round + 1);
            name.Append(")");
        }
        newMasterSpreadCmd->baseName = name;
        // A master page of its own kind is one page, which InDesign puts under pages of either
        // side; half of a facing pair would show only on the pages of its side.
        newMasterSpreadCmd->pageCount = 1;
        ++masterCount;
        if (!MIF_RUN_COMMAND(newMasterSpreadCmd, UIDList(db->GetDocument()->GetRef()))) return kInvalidUID;
        if (newMasterSpreadCmd->GetItemList().IsEmpty()) {
            MIF_LOG_FALSE(!newMasterSpreadCmd->GetItemList().IsEmpty());
            return kInvalidUID;
        }
        masterSpread = newMasterSpreadCmd->GetItemList().At(0);
    } else {
        const std::vector<UID>& masters = db->GetDocument()->masterSpreads;
        masterSpread = masters.empty() ? kInvalidUID : masters.front();
    }
    mMasterTagMap[*tag] = masterSpread;
    return masterSpread;
}

void MifLayoutImporter::ImportPage(UID targetPage, const MifObject& mifPage)
{
    DataBase* db = GetDataBase();
    const PMString* background = nullptr;
    if (const MifProp* prop = mifPage.FindProp(kMifPageBackground); prop && MifIsStringType(prop->type))
        background = prop->value.rawString;
    const Page* page = db->Get<Page>(targetPage);
    // Masters are applied to document pages; "Default" keeps the master the page has ("A").
    if (page && !db->Get<MasterSpread>(page->spread) && background && !background->IsEmpty() &&
        *background != PMString("Default")) {
        auto applyMasterSpreadCmd = std::make_shared<ApplyMasterSpreadCmd>();
        applyMasterSpreadCmd->masterUID = *background == PMString("None") ? kInvalidUID : GetMasterForTag(*background);
        MIF_RUN_COMMAND(applyMasterSpreadCmd, UIDList(UIDRef(db, targetPage)));
    }
    if (!page) {
        MIF_LOG_NIL(page);
        return;
    }
    // The objects go on the spread's first content layer; MIF page coordinates (top left of the
    // page, y down) become spread coordinates through the page's place in its spread.
    const std::vector<UID>& layers = db->GetDocument()->layers;
    UID layer = layers.empty() ? kInvalidUID : layers.back();
    PMMatrix pageToSpread = PMMatrix::Translation(page->boundsInSpread.left, page->boundsInSpread.top);
    // Every object in file order, so that the file's order is the stacking order; each page
    // starts from the default graphic state.
    mGraphics.ResetState();
    mGraphics.ImportObjects(mifPage, MifPlacement{pageToSpread, page->spread, layer});
}

namespace {

// First-baseline placement of every frame made: by the first line's leading, as FrameMaker
// places the first line of a text column.
constexpr int32 kFirstLineOffsetByLeading = 2;

int32 IdOf(const MifObject& mifObject)
{
    MifPropVal propVal;
    return mifObject.GetPropVal(kMifID, propVal) ? propVal.id : 0;
}

// A gap or side-head length of the statement; 0 when absent.
PMReal GapLength(const MifObject& mifObject, int32 keyword, MifValueLimits& limits)
{
    const MifProp* prop = mifObject.FindProp(keyword);
    return prop ? limits.Clamp(prop->value.dim[0], MifValueLimits::kGap, *prop) : 0;
}

// A ShapeRect (left, top, width, height) as a rectangle on the page, within what a page holds.
PMRect ShapeOf(const MifProp& shapeRect, MifValueLimits& limits)
{
    const double* dim = shapeRect.value.dim;
    PMReal left = limits.Clamp(dim[0], MifValueLimits::kCoordinate, shapeRect, "left");
    PMReal top = limits.Clamp(dim[1], MifValueLimits::kCoordinate, shapeRect, "top");
    PMReal width = limits.Clamp(dim[2], MifValueLimits::kExtent, shapeRect, "width");
    PMReal height = limits.Clamp(dim[3], MifValueLimits::kExtent, shapeRect, "height");
    return PMRect(left, top, left + width, top + height);
}

PMRect BoundingBox(const PMMatrix& matrix, const PMRect& rect)
{
    PMPoint a = matrix.Transform({rect.left, rect.top});
    PMPoint b = matrix.Transform({rect.right, rect.bottom});
    PMPoint c = matrix.Transform({rect.left, rect.bottom});
    PMPoint d = matrix.Transform({rect.right, rect.top});
    return PMRect(std::min({a.x, b.x, c.x, d.x}), std::min({a.y, b.y, c.y, d.y}), std::max({a.x, b.x, c.x, d.x}),
                  std::max({a.y, b.y, c.y, d.y}));
}

template <class Map, class Key>
auto Lookup(const Map& map, const Key& key, decltype(map.begin()->second) fallback)
{
    auto found = map.find(key);
    return found == map.end() ? fallback : found->second;
}

} // namespace

UIDRef MifLayoutImporter::ImportTextRect(const MifObject& mifTextRect, const PMMatrix& pageToSpread, UID spread, UID layer)
{
    const MifProp* shapeRect = mifTextRect.FindProp(kMifShapeRect);
    if (!shapeRect || MifDimCount(shapeRect->type) != 4) return UIDRef();   // nothing to place
    MifValueLimits limits(mImportErrors);
    PMRect shape = ShapeOf(*shapeRect, limits);
    UIDRef textFrame = CreateTextFrame(BoundingBox(pageToSpread, shape), spread, layer);
    if (!textFrame.ExistsInDB()) {
        MIF_LOG_NIL(textFrame);
        return UIDRef();
    }
    SetUpTextRectFrame(textFrame, mifTextRect);
    return textFrame;
}

void MifLayoutImporter::SetUpTextRectFrame(const UIDRef& textFrame, const MifObject& mifTextRect)
{
    mItemObjects[textFrame.GetUID()] = &mifTextRect;
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!textFrameUtils) {
        MIF_LOG_NIL(textFrameUtils);
        return;
    }
    // Counts and gaps outside what a frame holds take the nearest it does.
    MifValueLimits limits(mImportErrors);
    const MifProp* columns = mifTextRect.FindProp(kMifTRNumColumns);
    int32 count = columns ? limits.Clamp(columns->value.id, MifValueLimits::kColumns, *columns) : 1;
    textFrameUtils->SetColumns(textFrame, count, GapLength(mifTextRect, kMifTRColumnGap, limits));
    MifPropVal propVal;
    bool balance = mifTextRect.GetPropVal(kMifTRColumnBalance, propVal) && propVal.boolean;
    UIDRef multiColumnTextFrame = textFrameUtils->GetFirstColumn(textFrame);
    if (!multiColumnTextFrame.ExistsInDB()) {
        MIF_LOG_NIL(multiColumnTextFrame);
        return;
    }
    int32 id = IdOf(mifTextRect);
    if (auto earlier = mFrames.find(id); earlier != mFrames.end()) mIdsByFrame.erase(earlier->second.GetUID());
    mFrames[id] = textFrame;
    mIdsByFrame[textFrame.GetUID()] = id;
    mTextRects[id] = &mifTextRect;
    mChains.reset();  // found again, with this TextRect, when next asked for
    mColumnCounts[id] = count;
    mIDtoMultiColumnRef[id] = multiColumnTextFrame;
    mColumnBalance[id] = balance;
}

UIDRef MifLayoutImporter::RebuildTextFrame(const UIDRef& pageItem)
{
    DataBase* db = GetDataBase();
    const PageItem* hierarchy = db && pageItem.GetDataBase() == db ? db->Get<PageItem>(pageItem.GetUID()) : nullptr;
    if (!hierarchy) {
        MIF_LOG_NIL(hierarchy);
        return UIDRef();
    }
    const MifObject* mifTextRect = GetMifObjectOfItem(pageItem.GetUID());
    if (!mifTextRect || mifTextRect->id != kMifTextRect) {
        MIF_LOG_NIL(mifTextRect);
        return UIDRef();
    }
    // The new frame takes the item's place on its spread; the item itself stays, for its
    // caller to keep or remove.
    UIDRef textFrame = CreateTextFrame(hierarchy->GetBoundsInSpread(), hierarchy->spread, hierarchy->layer);
    if (!textFrame.ExistsInDB()) {
        MIF_LOG_NIL(textFrame);
        return UIDRef();
    }
    SetUpTextRectFrame(textFrame, *mifTextRect);
    return textFrame;
}

const MifObject* MifLayoutImporter::GetMifObjectOfItem(UID item) const { return Lookup(mItemObjects, item, nullptr); }

UIDRef MifLayoutImporter::CreateTextFrame(const PMRect& bounds, UID spread, UID layer)
{
    DataBase* db = GetDataBase();
    auto createTextFrameCmd = std::make_shared<CreateTextFrameCmd>();
    createTextFrameCmd->layer = layer;
    createTextFrameCmd->bounds = PMRect(0, 0, bounds.Width(), bounds.Height());
    createTextFrameCmd->transform = PMMatrix::Translation(bounds.left, bounds.top);
    if (!MIF_RUN_COMMAND(createTextFrameCmd, UIDList(UIDRef(db, spread)))) return UIDRef();
    if (createTextFrameCmd->GetItemList().IsEmpty()) {
        MIF_LOG_FALSE(!createTextFrameCmd->GetItemList().IsEmpty());
        return UIDRef();
    }
    UIDRef textFrame = createTextFrameCmd->GetItemList().GetRef(0);
    if (Utils<IMifTextFrameUtils> textFrameUtils; textFrameUtils)
        textFrameUtils->SetFirstLineOffsetMetric(textFrame, kFirstLineOffsetByLeading);
    return textFrame;
}

void MifLayoutImporter::ThreadTextFrames()
{
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!textFrameUtils) {
        MIF_LOG_NIL(textFrameUtils);
        return;
    }
    std::vector<std::pair<UIDRef, UIDRef>> links;
    // What the links so far have joined, so that what the host would refuse (a second TRNext
    // to one TextRect, or one that closes a thread into a loop) is reported before it is tried.
    std::unordered_set<int32> threadedTo;
    std::unordered_map<int32, int32> joinedTo;
    auto threadOf = [&](int32 id) {
        for (auto up = joinedTo.find(id); up != joinedTo.end(); up = joinedTo.find(id)) id = up->second;
        return id;
    };
    for (auto iter = mTextRects.begin(); iter != mTextRects.end(); ++iter) {
        const MifProp* next = iter->second->FindProp(kMifTRNext);
        if (!next || !MifIsIntegerType(next->type) || next->value.id <= 0) continue;
        auto textFrameA = mIDtoMultiColumnRef.find(iter->first);
        if (textFrameA == mIDtoMultiColumnRef.end()) {
            MIF_LOG_FALSE(mIDtoMultiColumnRef.find(iter->first) != mIDtoMultiColumnRef.end());
            continue;
        }
        PMString target;
        target.AppendNumber(next->value.id);
        // A TRNext naming a TextRect that has no frame (on a skipped page, or nowhere) leaves
        // the chain unlinked here.
        auto textFrameB = mIDtoMultiColumnRef.find(next->value.id);
        if (textFrameB == mIDtoMultiColumnRef.end()) {
            MifProblemReporter(mImportErrors).Report({next->line, "TRNext names no TextRect of a body or master page, the thread ends here", target});
            continue;
        }
        if (threadedTo.count(next->value.id)) {
            MifProblemReporter(mImportErrors).Report({next->line, "TRNext names a TextRect that another TextRect already threads to, not threaded", target});
            continue;
        }
        int32 threadA = threadOf(iter->first);
        int32 threadB = threadOf(next->value.id);
        if (threadA == threadB) {
            MifProblemReporter(mImportErrors).Report({next->line, "TRNext would close the thread into a loop, not threaded", target});
            continue;
        }
        threadedTo.insert(next->value.id);
        joinedTo[threadA] = threadB;
        links.emplace_back(textFrameA->second, textFrameB->second);
    }
    // The links are made in this order by one host command; the threads made so far stay
    // whatever it refuses.
    std::vector<ErrorCode> results;
    textFrameUtils->LinkFramePairs(links, results);
}

void MifLayoutImporter::ApplySideheads()
{
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!textFrameUtils) {
        MIF_LOG_NIL(textFrameUtils);
        return;
    }
    const MifTextRectChains& chains = Chains();
    // A flow's statements are read once, however many frames it runs through.
    std::unordered_map<const MifObject*, bool> flowHasSideheads;
    for (const auto& [id, frame] : mFrames) {
        Sideheads sideheads;
        const MifObject* flow = chains.FlowOf(id);
        const MifObject* mifTextRect = Lookup(mTextRects, id, nullptr);
        bool flowSideheads = false;
        if (flow) {
            auto known = flowHasSideheads.find(flow);
            if (known == flowHasSideheads.end()) known = flowHasSideheads.emplace(flow, flow->GetBool(kMifTFSideheads)).first;
            flowSideheads = known->second;
        }
        if (flowSideheads && mifTextRect) {
            sideheads.hasSideheads = true;
            MifValueLimits limits(mImportErrors);
            sideheads.width = GapLength(*mifTextRect, kMifTRSideheadWidth, limits);
            sideheads.gap = GapLength(*mifTextRect, kMifTRSideheadGap, limits);
            MifPropVal propVal;
            int32 placement = mifTextRect->GetPropVal(kMifTRSideheadPlacement, propVal) ? propVal.keyword : kMifLeft;
            bool left = IsOnLeftPage(frame);
            if (placement == kMifInside) placement = left ? kMifRight : kMifLeft;
            else if (placement == kMifOutside) placement = left ? kMifLeft : kMifRight;
            sideheads.placement = placement == kMifRight ? kMifRight : kMifLeft;
            PMReal area = sideheads.width + sideheads.gap;
            if (sideheads.placement == kMifRight)
                textFrameUtils->SetInsets(frame, 0, 0, area, 0);
            else
                textFrameUtils->SetInsets(frame, area, 0, 0, 0);
        }
        mSideheadsById[id] = sideheads;
        mSideheadsByFrame[frame.GetUID()] = sideheads;
    }
}

namespace {

// The beginning of a flow's text as FrameMaker wrote it (escapes and all), up to `limit`
// characters, with an ellipsis when there is more; whether it holds anything but empty
// paragraphs (tables, frames, footnotes and variables count) goes to `hasContent`.
PMString FlowTextStart(const MifObject& flow, size_t limit, bool& hasContent)
{
    std::u16string text;
    hasContent = false;
    bool more = false;
    for (const MifObject& mifPara : flow.Children(kMifPara)) {
        if (!text.empty() && text.back() != u' ') text.push_back(u' ');
        for (const MifObject& mifParaLine : mifPara.Children(kMifParaLine))
            for (const MifProp* prop : mifParaLine.props) {
                if (!prop) break;
                switch (prop->id) {
                case kMifString:
                    if (MifIsStringType(prop->type) && prop->value.rawString) {
                        const std::u16string& piece = prop->value.rawString->GetUTF16();
                        if (piece.find_first_not_of(u" \t") != std::u16string::npos) hasContent = true;
                        text += piece;
                    }
                    break;
                case kMifATbl: case kMifAFrame: case kMifFNote: case kMifVariable: case kMifChar:
                    hasContent = true;
                    break;
                default: break;
                }
            }
        if (text.size() > limit) {
            more = true;
            break;
        }
    }
    while (!text.empty() && text.back() == u' ') text.pop_back();
    if (text.size() > limit) {
        text.resize(limit);
        more = true;
    }
    if (more) text += u"\u2026";
    return PMString(text);
}

} // namespace

// FrameMaker gives a body page, for each tagged flow of its master page, a text frame made after
// the master's frame of that flow; the master's frame itself never shows on the body pages, only
// the master's untagged (background) frames do. InDesign shows every master frame under each
// page's own items, so a template frame stays on its master as the master's primary text frame,
// empty: its text would be printed under the body text of every page. That text is reported.
void MifLayoutImporter::SetUpTemplateFrames()
{
    DataBase* db = GetDataBase();
    if (!db || !mMifRoot) return;
    const MifTextRectChains& chains = Chains();

    std::set<const MifObject*> templateFlows;
    for (const auto& [id, frame] : mFrames) {
        const PageItem* pageItem = db->Get<PageItem>(frame.GetUID());
        if (!pageItem || !db->Get<MasterSpread>(pageItem->spread)) continue;
        const MifObject* flow = chains.FlowOf(id);
        if (!flow || MifTextRectChains::FlowTag(*flow).IsEmpty()) continue;  // background text shows on every page
        mTemplateFrames.insert(id);
        templateFlows.insert(flow);
    }

    // Each master's primary frame: the first template frame in the master's stacking order
    // (its pages' statements in file order) whose flow is autoconnected, else the first one.
    for (UID uid : db->GetDocument()->masterSpreads) {
        const MasterSpread* master = db->Get<MasterSpread>(uid);
        if (!master) continue;
        UID primary = kInvalidUID, first = kInvalidUID;
        for (UID item : master->pageItems) {
            auto found = mIdsByFrame.find(item);
            if (found == mIdsByFrame.end() || !mTemplateFrames.count(found->second)) continue;
            if (first == kInvalidUID) first = item;
            const MifObject* flow = chains.FlowOf(found->second);
            if (flow && flow->GetBool(kMifTFAutoConnect)) {
                primary = item;
                break;
            }
        }
        if (primary == kInvalidUID) primary = first;
        if (primary == kInvalidUID) continue;
        auto setPrimaryTextFrameCmd = std::make_shared<SetPrimaryTextFrameCmd>();
        setPrimaryTextFrameCmd->frame = primary;
        MIF_RUN_COMMAND(setPrimaryTextFrameCmd, UIDList(UIDRef(db, uid)));
    }

    // In file order, so that the report reads like the file.
    std::vector<const MifObject*> ordered(templateFlows.begin(), templateFlows.end());
    std::sort(ordered.begin(), ordered.end(), [](const MifObject* a, const MifObject* b) { return a->line < b->line; });
    for (const MifObject* flow : ordered) {
        bool hasContent = false;
        PMString text = FlowTextStart(*flow, 60, hasContent);
        if (!hasContent || !mImportErrors) continue;
        PMString message("Text of a master page's template frame (flow ");
        message.Append(MifTextRectChains::FlowTag(*flow));
        message.Append(") is not imported, as FrameMaker shows it on no body page");
        PMString detail("\"");
        detail.Append(text);
        detail.Append("\"");
        MifProblemReporter(mImportErrors).Report({flow->line, message, detail});
    }
}

// FrameMaker sets a line in a frame when the line's height fits and lets its descenders reach
// below the frame's edge; the host keeps room for them. A story whose last frame misses the rest
// of its text only by the descent of the line that no longer fits (a running head as tall as its
// frame, two lines of a footer in a frame two lines high) would be overset after the import
// where FrameMaker shows all of it: that frame grows by that descent. A frame that still leaves
// text over at that height keeps its own.
void MifLayoutImporter::MakeRoomForDescenders()
{
    DataBase* db = GetDataBase();
    if (!db) return;
    auto setHeight = [](const UIDRef& frame, PMReal height) {
        auto setFrameHeightCmd = std::make_shared<SetFrameHeightCmd>();
        setFrameHeightCmd->height = height;
        return MIF_RUN_COMMAND(setFrameHeightCmd, UIDList(frame));
    };
    TextComposer& composer = TextComposer::Get();
    std::unordered_set<UID> seen;
    for (const auto& [id, frame] : mFrames) {
        UIDRef storyRef = GetStoryOfTextRect(id);
        Story* story = storyRef.ExistsInDB() ? db->Get<Story>(storyRef.GetUID()) : nullptr;
        if (!story || !seen.insert(story->GetUID()).second) continue;
        composer.Compose(*story);
        const FrameList& frameList = story->frameList;
        if (!frameList.Overflows() || frameList.GetFrameCount() == 0) continue;
        const int32 overset = frameList.GetOversetIndex();
        PMReal descent = -1;
        for (const ComposedLine& line : composer.ComposeParagraphAlone(*story, overset))
            if (line.start <= overset && overset < line.End()) descent = line.descent;
        if (!(descent > 0)) continue;
        UIDRef last(db, frameList.GetFrameUID(frameList.GetFrameCount() - 1));
        const TextFrame* lastFrame = db->Get<TextFrame>(last.GetUID());
        if (!lastFrame) continue;
        const PMReal height = lastFrame->pathBounds.Height();
        if (!setHeight(last, height + descent)) continue;
        composer.Compose(*story);
        if (story->frameList.Overflows() && setHeight(last, height)) composer.Compose(*story);
    }
}

void MifLayoutImporter::AddPagesForOverflow()
{
    DataBase* db = GetDataBase();
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    if (!db || !mMifRoot || (importOptions && !importOptions->GetAddPages())) return;
    int32 maxPages = importOptions ? importOptions->GetMaxAddedPages() : OpenOptions::kDefaultMaxAddedPages;
    const MifObject* mifDocument = mMifRoot->GetObject(kMifDocument);
    bool twoSided = mifDocument && mifDocument->GetBool(kMifDTwoSides);

    const MifTextRectChains& chains = Chains();

    // The frames of the left and right master pages, by the tag of the flow they hold: the
    // frames a new page of that side gets for a body flow of that tag.
    struct MasterFrames {
        std::vector<MifPageGrower::FrameShape> left, right;
    };
    std::map<PMString, MasterFrames> masterFrames;
    MifValueLimits limits(mImportErrors);
    for (const MifObject& mifPage : mMifRoot->Children(kMifPage)) {
        MifPropVal pageType;
        int32 type = mifPage.GetPropVal(kMifPageType, pageType) ? pageType.keyword : kMifBodyPage;
        if (type != kMifRightMasterPage && !(type == kMifLeftMasterPage && twoSided)) continue;
        std::map<PMString, std::vector<MifPageGrower::FrameShape>> shapes;
        for (const MifObject& mifTextRect : mifPage.Children(kMifTextRect)) {
            const MifProp* shapeRect = mifTextRect.FindProp(kMifShapeRect);
            if (!shapeRect || MifDimCount(shapeRect->type) != 4) continue;
            int32 id = IdOf(mifTextRect);
            const MifObject* flow = chains.FlowOf(id);
            PMString tag = flow ? MifTextRectChains::FlowTag(*flow) : PMString();
            if (tag.IsEmpty()) continue;  // an untagged master frame is background text
            MifPageGrower::FrameShape shape;
            shape.rect = ShapeOf(*shapeRect, limits);
            if (!(shape.rect.Width() > 0 && shape.rect.Height() > 0)) continue;
            if (const MifProp* columns = mifTextRect.FindProp(kMifTRNumColumns))
                shape.columns = limits.Clamp(columns->value.id, MifValueLimits::kColumns, *columns);
            shape.gap = GapLength(mifTextRect, kMifTRColumnGap, limits);
            shapes[tag].push_back(shape);
        }
        // The first master page of each side gives the frames.
        for (auto& [tag, list] : shapes) {
            MasterFrames& frames = masterFrames[tag];
            std::vector<MifPageGrower::FrameShape>& side = type == kMifLeftMasterPage ? frames.left : frames.right;
            if (side.empty()) side = std::move(list);
        }
    }

    // The stories of the body pages' autoconnected flows, each once, in ID order.
    std::vector<MifPageGrower::Flow> growing;
    std::unordered_set<UID> stories;
    for (const auto& [id, frame] : mFrames) {
        if (chains.HeadOf(id) != id) continue;
        const MifObject* flow = chains.FlowOfHead(id);
        if (!flow || !flow->GetBool(kMifTFAutoConnect)) continue;
        const PageItem* pageItem = db->Get<PageItem>(frame.GetUID());
        if (!pageItem || db->Get<MasterSpread>(pageItem->spread)) continue;
        UIDRef story = GetStoryOfTextRect(id);
        if (!story.ExistsInDB() || !stories.insert(story.GetUID()).second) continue;
        MifPageGrower::Flow entry;
        entry.tag = MifTextRectChains::FlowTag(*flow);
        entry.story = story.GetUID();
        if (auto found = masterFrames.find(entry.tag); !entry.tag.IsEmpty() && found != masterFrames.end()) {
            entry.rightShapes = found->second.right;
            // A single-sided document, or one without a left master frame, uses the right.
            entry.leftShapes = twoSided && !found->second.left.empty() ? found->second.left : found->second.right;
        }
        growing.push_back(std::move(entry));
    }
    if (growing.empty()) return;
    MifPageGrower grower(*db, *this, mImportErrors, maxPages);
    grower.Grow(growing);
}

void MifLayoutImporter::BalanceColumns()
{
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!textFrameUtils) {
        MIF_LOG_NIL(textFrameUtils);
        return;
    }
    // The stories hold their text by now; each balanced frame is fitted on its own, and a frame
    // that cannot be (logged by the fit) keeps its height while the others go on.
    for (const auto& [id, balance] : mColumnBalance) {
        if (!balance) continue;
        UIDRef textFrame = GetItemOfId(id);
        if (!textFrame.ExistsInDB()) {
            MIF_LOG_NIL(textFrame);
            continue;
        }
        textFrameUtils->FitMultiColumnFrame(textFrame, false);
    }
}

UIDRef MifLayoutImporter::GetStoryOfTextRect(int32 id) const
{
    // A master's template frame takes none of its flow's text.
    if (mTemplateFrames.count(id)) return UIDRef();
    UIDRef frame = Lookup(mIDtoMultiColumnRef, id, UIDRef());
    const TextFrame* textFrame = frame.GetDataBase() ? frame.GetDataBase()->Get<TextFrame>(frame.GetUID()) : nullptr;
    return textFrame ? UIDRef(frame.GetDataBase(), textFrame->story) : UIDRef();
}

UIDRef MifLayoutImporter::GetItemOfId(int32 id) const
{
    // IDs are unique across TextRects and frames.
    UIDRef frame = Lookup(mFrames, id, UIDRef());
    return frame.ExistsInDB() ? frame : mAnchoredFrames.GetItemOfId(id);
}

int32 MifLayoutImporter::GetIdOfItem(const DataBase* db, UID item) const
{
    auto found = mIdsByFrame.find(item);
    if (found == mIdsByFrame.end()) return 0;
    UIDRef frame = GetItemOfId(found->second);
    return frame.GetDataBase() == db && frame.GetUID() == item ? found->second : 0;
}

const MifLayoutImporter::Sideheads* MifLayoutImporter::FindSideheads(int32 id) const
{
    auto found = mSideheadsById.find(id);
    return found == mSideheadsById.end() ? nullptr : &found->second;
}

const MifLayoutImporter::Sideheads* MifLayoutImporter::FindSideheads(const UIDRef& frame) const
{
    auto found = mSideheadsByFrame.find(frame.GetUID());
    return found == mSideheadsByFrame.end() || frame.GetDataBase() != GetDataBase() ? nullptr : &found->second;
}

bool MifLayoutImporter::HasSideheads(const UIDRef& frame) const { return FindSideheads(frame) && FindSideheads(frame)->hasSideheads; }
bool MifLayoutImporter::HasSideheads(int32 id) const { return FindSideheads(id) && FindSideheads(id)->hasSideheads; }
PMReal MifLayoutImporter::GetSideheadWidth(const UIDRef& frame) const { return FindSideheads(frame) ? FindSideheads(frame)->width : 0; }
PMReal MifLayoutImporter::GetSideheadWidth(int32 id) const { return FindSideheads(id) ? FindSideheads(id)->width : 0; }
PMReal MifLayoutImporter::GetSideheadGap(const UIDRef& frame) const { return FindSideheads(frame) ? FindSideheads(frame)->gap : 0; }
PMReal MifLayoutImporter::GetSideheadGap(int32 id) const { return FindSideheads(id) ? FindSideheads(id)->gap : 0; }
int32 MifLayoutImporter::GetSideheadPlacement(const UIDRef& frame) const
{
    return FindSideheads(frame) ? FindSideheads(frame)->placement : kMifLeft;
}
int32 MifLayoutImporter::GetSideheadPlacement(int32 id) const { return FindSideheads(id) ? FindSideheads(id)->placement : kMifLeft; }
int32 MifLayoutImporter::GetColumnCount(int32 id) const { return Lookup(mColumnCounts, id, 1); }
bool MifLayoutImporter::GetColumnBalance(int32 id) const { return Lookup(mColumnBalance, id, false); }

bool MifLayoutImporter::IsOnLeftPage(const UIDRef& item) const
{
    DataBase* db = item.GetDataBase();
    const PageItem* pageItem = db ? db->Get<PageItem>(item.GetUID()) : nullptr;
    const Spread* spread = pageItem ? db->Get<Spread>(pageItem->spread) : nullptr;
    if (!spread) return false;
    // Pages stand side by side, so the page under the item's horizontal centre owns it; the
    // pages before the binding location are the left pages.
    PMRect bounds = pageItem->GetBoundsInSpread();
    PMReal centre = (bounds.left + bounds.right) / 2;
    for (size_t i = 0; i < spread->pages.size(); ++i) {
        const Page* page = db->Get<Page>(spread->pages[i]);
        if (page && centre >= page->boundsInSpread.left && centre < page->boundsInSpread.right)
            return static_cast<int32>(i) < spread->bindingLocation;
    }
    return false;
}
