// The object model: objects assembled from implementations, sibling interfaces, reference counts.
#include <gtest/gtest.h>

#include "InterfacePtr.h"
#include "ObjectModel.h"

namespace {

constexpr ClassID kTestBoss = 0x7F0001;
constexpr PMIID IID_ICOUNTER = 0x7F0001;
constexpr PMIID IID_INAME = 0x7F0002;
int gAlive = 0;

class ICounter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_ICOUNTER };
    virtual int Next() = 0;
};
class IName : public IPMUnknown {
public:
    enum { kDefaultIID = IID_INAME };
    virtual const char* Name() const = 0;
};
class Counter : public ICounter {
public:
    Counter() { ++gAlive; }
    ~Counter() override { --gAlive; }
    int Next() override { return ++mValue; }
    int mValue = 0;
};
class Namer : public IName {
public:
    Namer() { ++gAlive; }
    ~Namer() override { --gAlive; }
    const char* Name() const override { return "counter"; }
};

} // namespace

TEST(ObjectModel, Objects_SiblingsAndLifetime)
{
    ObjectModel& model = ObjectModel::Get();
    model.RegisterImplementation(0x7F0101, [] { return new Counter; });
    model.RegisterImplementation(0x7F0102, [] { return new Namer; });
    model.AddInterface(kTestBoss, IID_ICOUNTER, 0x7F0101);
    model.AddInterface(kTestBoss, IID_INAME, 0x7F0102);
    {
        InterfacePtr<ICounter> counter(CreateObject2<ICounter>(kTestBoss));
        ASSERT_TRUE(counter);
        EXPECT_EQ(gAlive, 2);
        EXPECT_EQ(counter->GetClass(), kTestBoss);
        InterfacePtr<IName> name(counter.get(), IID_INAME);
        ASSERT_TRUE(name);
        EXPECT_STREQ(name->Name(), "counter");
        counter = InterfacePtr<ICounter>();  // the name still holds the object
        EXPECT_EQ(gAlive, 2);
        InterfacePtr<ICounter> again(name.get());
        EXPECT_EQ(again->Next(), 1);
        EXPECT_FALSE(InterfacePtr<IName>(name.get(), 0x7F0FFF));
    }
    EXPECT_EQ(gAlive, 0);
    EXPECT_EQ(CreateObject2<ICounter>(0x7F0FFF), nullptr);  // unknown class
}

TEST(ObjectModel, Utils_SeeLaterRegistrations)
{
    constexpr PMIID IID_ILATE = 0x7F0003;
    struct ILate : public IPMUnknown {
        enum { kDefaultIID = IID_ILATE };
        virtual int Value() = 0;
    };
    struct Late : public ILate {
        int Value() override { return 5; }
    };
    EXPECT_FALSE(static_cast<bool>(Utils<ILate>()));
    ObjectModel::Get().RegisterImplementation(0x7F0103, [] { return new Late; });
    ObjectModel::Get().AddInterface(kUtilsBoss, IID_ILATE, 0x7F0103);
    Utils<ILate> late;
    ASSERT_TRUE(static_cast<bool>(late));
    EXPECT_EQ(late->Value(), 5);
}
