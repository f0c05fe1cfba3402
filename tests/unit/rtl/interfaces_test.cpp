#include "rtl/interfaces.h"

#include <gtest/gtest.h>

#include <vector>

namespace qor::rtl {
namespace {

class IAnimal : public IInterface {
 public:
  static constexpr TGUID IID = GUID("{6904CFC9-D814-46A6-9694-39634585DCBD}");
  using Parent = IInterface;
  virtual int Legs() = 0;
};

class IDog : public IAnimal {
 public:
  static constexpr TGUID IID = GUID("{11111111-2222-3333-4444-555555555555}");
  using Parent = IAnimal;
  virtual int Barks() = 0;
};

class IOwner : public IInterface {
 public:
  static constexpr TGUID IID = GUID("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");
  using Parent = IInterface;
  virtual int Owned() = 0;
};

class ITrick : public IInterface {
 public:
  static constexpr TGUID IID = GUID("{0123ABCD-0000-0000-0000-00000000FFFF}");
  using Parent = IInterface;
  virtual int Tricks() = 0;
};

struct Log {
  std::vector<const char*> Events;
};

class TDog : public TInterfaced<IDog, IOwner> {
 public:
  explicit TDog(Log* log) : FLog(log) {}
  ~TDog() override { FLog->Events.push_back("destroyed"); }
  void AfterConstruction() override {
    // A reference taken and dropped during construction must not destroy the object.
    IPtr<IDog> self(this);
    FLog->Events.push_back("after construction");
  }
  void BeforeDestruction() override { FLog->Events.push_back("before destruction"); }
  int Legs() override { return 4; }
  int Barks() override { return 2; }
  int Owned() override { return 1; }

 private:
  Log* FLog;
};

class TTrickDog : public TInterfacedExtend<TDog, ITrick> {
 public:
  using TInterfacedExtend::TInterfacedExtend;
  int Tricks() override { return 7; }
};

TEST(Guid, ParsedAtCompileTime) {
  constexpr TGUID g = GUID("{6904CFC9-D814-46A6-9694-39634585DCBD}");
  static_assert(g.D1 == 0x6904CFC9u && g.D2 == 0xD814 && g.D3 == 0x46A6);
  static_assert(g.D4[0] == 0x96 && g.D4[1] == 0x94 && g.D4[2] == 0x39 && g.D4[7] == 0xBD);
  static_assert(GUID("{6904cfc9-d814-46a6-9694-39634585dcbd}") == g);
  static_assert(!(IDog::IID == IAnimal::IID));
  static_assert(TDog::ImplementsStatic(IAnimal::IID) && TDog::ImplementsStatic(IOwner::IID));
  static_assert(!TDog::ImplementsStatic(ITrick::IID) && TTrickDog::ImplementsStatic(ITrick::IID));
  SUCCEED();
}

TEST(Interfaces, ObjectLivesWhileReferencesAreHeld) {
  Log log;
  {
    IPtr<IDog> dog(Create<TDog>(&log));
    EXPECT_EQ(log.Events, (std::vector<const char*>{"after construction"}));
    EXPECT_EQ(static_cast<TDog*>(dog.get())->RefCount(), 1);
    IPtr<IAnimal> animal = dog;  // upcast copy
    IPtr<IDog> moved = std::move(dog);
    EXPECT_FALSE(dog);
    EXPECT_EQ(static_cast<TDog*>(moved.get())->RefCount(), 2);
    moved = nullptr;
    EXPECT_EQ(log.Events.size(), 1u);
    EXPECT_EQ(animal->Legs(), 4);
  }
  EXPECT_EQ(log.Events, (std::vector<const char*>{"after construction", "before destruction", "destroyed"}));
}

TEST(Interfaces, ReassignmentReleasesTheOldObjectOnce) {
  Log a, b;
  IPtr<IDog> p(Create<TDog>(&a));
  IPtr<IDog> q(Create<TDog>(&b));
  p = q;
  EXPECT_EQ(a.Events.back(), std::string("destroyed"));
  EXPECT_EQ(b.Events.size(), 1u);
  p = p;  // self-assignment keeps the object
  EXPECT_EQ(b.Events.size(), 1u);
  p.reset();
  q.reset();
  EXPECT_EQ(b.Events.back(), std::string("destroyed"));
  EXPECT_EQ(a.Events.size(), 3u);
}

TEST(Interfaces, QueryInterfaceFindsEachInterfaceAndItsAncestors) {
  Log log;
  IPtr<IOwner> owner(Create<TDog>(&log));
  IPtr<IAnimal> animal = Supports<IAnimal>(owner);
  ASSERT_TRUE(animal);
  EXPECT_EQ(animal->Legs(), 4);
  IPtr<IDog> dog = Supports<IDog>(animal);
  ASSERT_TRUE(dog);
  EXPECT_EQ(dog->Barks(), 2);
  EXPECT_EQ(Supports<IOwner>(dog)->Owned(), 1);
  EXPECT_FALSE(Supports<ITrick>(dog));
  EXPECT_EQ(static_cast<TDog*>(dog.get())->RefCount(), 3);  // owner, animal, dog
  IPtr<IAnimal> none;
  EXPECT_FALSE(Supports<IDog>(none));
}

TEST(Interfaces, IdentityIsTheIInterfaceQuery) {
  Log log;
  IPtr<IOwner> owner(Create<TDog>(&log));
  IPtr<IDog> dog = Supports<IDog>(owner);
  EXPECT_NE(static_cast<void*>(owner.get()), static_cast<void*>(dog.get()));
  EXPECT_TRUE(SameObject(owner, dog));
  EXPECT_EQ(Supports<IInterface>(owner).get(), Supports<IInterface>(dog).get());
  Log other;
  IPtr<IDog> second(Create<TDog>(&other));
  EXPECT_FALSE(SameObject(dog, second));
}

TEST(Interfaces, ExtendAddsInterfacesAndKeepsTheBase) {
  Log log;
  {
    IPtr<ITrick> trick(Create<TTrickDog>(&log));
    EXPECT_EQ(trick->Tricks(), 7);
    IPtr<IDog> dog = Supports<IDog>(trick);
    ASSERT_TRUE(dog);
    EXPECT_EQ(dog->Barks(), 2);
    EXPECT_EQ(Supports<ITrick>(dog)->Tricks(), 7);
    EXPECT_TRUE(SameObject(trick, dog));
    EXPECT_EQ(static_cast<TTrickDog*>(trick.get())->RefCount(), 2);
  }
  EXPECT_EQ(log.Events.back(), std::string("destroyed"));
}

}  // namespace
}  // namespace qor::rtl
