// Lookups of the statement tree, as importers use them.
#include <gtest/gtest.h>

#include "TestUtils.h"

#include "mif/IMifObjectData.h"
#include "mif/MifKeywords.h"
#include "mif/MifObjectData.h"

TEST(MifObject, Lookup_FirstLastAndOutOfRange)
{
    ParsedMif mif("<Pen 1> <Pen 2> <PgfTag `Body'> <FBold Yes>");
    MifPropVal propVal;
    ASSERT_TRUE(mif.root->GetPropVal(kMifPen, propVal));
    EXPECT_EQ(propVal.id, 1);
    EXPECT_EQ(mif.root->FindProp(kMifPen, false)->value.id, 2);
    EXPECT_FALSE(mif.root->GetPropVal(kMifFill, propVal));
    EXPECT_EQ(mif.root->GetProp(4), nullptr);
    EXPECT_EQ(mif.root->GetProp(-1), nullptr);
    EXPECT_EQ(mif.root->GetPropValAt(17).dim[0], 0);
    EXPECT_EQ(mif.root->GetPropValAt(1).id, 2);
    EXPECT_TRUE(mif.root->GetBool(kMifFBold));
    EXPECT_FALSE(mif.root->GetBool(kMifFItalic));
    EXPECT_EQ(mif.root->GetObject(kMifPgfTag), nullptr);  // no container
}

TEST(MifObject, FindObjectWithId_Depth)
{
    ParsedMif mif("<Page <ID 5> <TextRect <ID 7> <Frame <ID 9>>>> <Tbls <Tbl <TblID 3> <TblTag `Format A'>>>");
    EXPECT_EQ(mif.root->FindObjectWithId(kMifID, 7, 0), nullptr);
    EXPECT_EQ(mif.root->FindObjectWithId(kMifID, 7, 1), nullptr);
    const MifObject* rect = mif.root->FindObjectWithId(kMifID, 7, 2);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->id, kMifTextRect);
    EXPECT_EQ(mif.root->FindObjectWithId(kMifID, 9, 2), nullptr);
    EXPECT_NE(mif.root->FindObjectWithId(kMifID, 9, 3), nullptr);
    const MifObject* page = mif.root->GetObject(kMifPage);
    EXPECT_EQ(page->FindObjectWithId(kMifID, 5, 0), page);
    const MifObject* tbl = mif.root->FindObjectWithString(kMifTblTag, PMString("Format A"), 2);
    ASSERT_NE(tbl, nullptr);
    EXPECT_EQ(tbl->id, kMifTbl);
    EXPECT_EQ(mif.root->FindObjectWithString(kMifTblTag, PMString("format a"), 2), nullptr);

    MifPropVal propVal;
    EXPECT_FALSE(mif.root->GetPropValDeep(kMifTblID, propVal, true, 1));
    ASSERT_TRUE(mif.root->GetPropValDeep(kMifTblID, propVal, true, 2));
    EXPECT_EQ(propVal.id, 3);
}

TEST(MifObject, Cascade_TopMiddleBase)
{
    ParsedMif mif("<Pgf <PgfLeading 1 pt> <PgfSpBefore 3 pt>> <Para <PgfLeading 2 pt>>");
    const MifObject* base = mif.root->GetObject(kMifPgf);
    const MifObject* top = mif.root->GetObject(kMifPara);
    MifPropVal propVal;
    ASSERT_TRUE(MifObject::GetPropValCascade(kMifPgfLeading, propVal, base, nullptr, top));
    EXPECT_DOUBLE_EQ(propVal.dim[0], 2);
    ASSERT_TRUE(MifObject::GetPropValCascade(kMifPgfSpBefore, propVal, base, nullptr, top));
    EXPECT_DOUBLE_EQ(propVal.dim[0], 3);
    EXPECT_FALSE(MifObject::GetPropValCascade(kMifPgfSpAfter, propVal, base, nullptr, top));
    EXPECT_FALSE(MifObject::GetPropValCascade(kMifPgfLeading, propVal, nullptr, nullptr, nullptr));
}

TEST(MifObject, ObjectData_ForwardsToLinkedStatement)
{
    ParsedMif mif("<Frame <ID 12> <Angle 90>>");
    MifObjectData data;
    MifPropVal propVal;
    EXPECT_EQ(data.GetLinkedObject(), nullptr);
    EXPECT_FALSE(data.GetPropVal(kMifID, propVal));
    data.SetLinkedObject(mif.root->GetObject(kMifFrame));
    ASSERT_TRUE(data.GetPropVal(kMifID, propVal));
    EXPECT_EQ(propVal.id, 12);
}

TEST(MifObject, Children_OfOneKindInFileOrder)
{
    ParsedMif mif("<Page <ID 1>> <Pen 2> <Page <ID 3>> <TextFlow <Page <ID 9>>> <Page <ID 4>>");
    std::vector<int32> ids;
    MifPropVal propVal;
    for (const MifObject& page : mif.root->Children(kMifPage)) {
        ASSERT_TRUE(page.GetPropVal(kMifID, propVal));
        ids.push_back(propVal.id);
    }
    EXPECT_EQ(ids, (std::vector<int32>{1, 3, 4}));  // not the one inside the flow
    EXPECT_TRUE(mif.root->Children(kMifPen).empty());    // a statement that is no container
    EXPECT_TRUE(mif.root->Children(kMifColor).empty());

    // Hand-made trees may hold a container without a body, or a null slot that ends the list.
    MifObject root(0, 1);
    MifPropVal empty;
    root.AddProp(new MifProp(kMifPage, kMifTypeObject, empty, 1));
    MifPropVal body;
    body.object = new MifObject(kMifPage, 2);
    root.AddProp(new MifProp(kMifPage, kMifTypeObject, body, 2));
    root.props.push_back(nullptr);
    MifPropVal after;
    after.object = new MifObject(kMifPage, 3);
    root.props.push_back(new MifProp(kMifPage, kMifTypeObject, after, 3));  // freed with the root
    int count = 0;
    for (const MifObject& page : root.Children(kMifPage)) {
        EXPECT_EQ(page.line, 2);
        ++count;
    }
    EXPECT_EQ(count, 1);
}

TEST(MifObject, Lookups_CheckTheValueKind)
{
    // Values that the keyword's own kind would not give: a lookup must not read them as such.
    MifObject root(0, 1);
    MifPropVal number;
    number.id = 1;
    root.AddProp(new MifProp(kMifFBold, kMifTypeInt, number, 1));          // not a Yes/No
    root.AddProp(new MifProp(kMifID, kMifTypeSkip, MifPropVal(), 2));       // an all-zero skipped value
    MifPropVal dim;
    dim.dim[0] = 1e-300;
    root.AddProp(new MifProp(kMifPgfTag, kMifTypeDim, dim, 3));             // no string
    EXPECT_FALSE(root.GetBool(kMifFBold));
    EXPECT_EQ(root.FindObjectWithId(kMifID, 0, 0), nullptr);
    EXPECT_EQ(root.GetString(kMifPgfTag), nullptr);
    EXPECT_EQ(root.GetObject(kMifPgfTag), nullptr);

    ParsedMif mif("<FBold Yes> <ID 0> <PgfTag `Body'>");
    EXPECT_TRUE(mif.root->GetBool(kMifFBold));
    EXPECT_EQ(mif.root->FindObjectWithId(kMifID, 0, 0), mif.root.get());
    ASSERT_NE(mif.root->GetString(kMifPgfTag), nullptr);
    EXPECT_EQ(*mif.root->GetString(kMifPgfTag), PMString("Body"));
    EXPECT_EQ(mif.root->GetString(kMifFSize), nullptr);
}
