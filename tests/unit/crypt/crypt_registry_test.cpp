// The crypter registry and the two crypt modules.
#include <gtest/gtest.h>

#include "crypt_test_crypter.h"
#include "crypt_test_support.h"
#include "framework/crypt/qor7420_core_crypt.h"
#include "framework/startup/module_runner.h"

namespace qor {
namespace {

using crypt_test::TCountingCrypter;

const TQorCrypterClass& BlowFish() { return TQorCrypterBlowFish::ClassType(); }
const TQorCrypterClass& Counting() { return TCountingCrypter::ClassType(); }

constexpr rtl::TGUID kUnknownIID = rtl::GUID("{A1B2C3D4-0000-4000-8000-000000000001}");

// A class that does not implement IQorCrypter.
class TNotACrypterClass final : public TQorCrypterClass {
 public:
  rtl::StringView ClassName() const override { return u"TNotACrypter"; }
  rtl::String GetAlgorithm() const override { return u"Nothing"; }
  bool Implements(const rtl::TGUID& AIID) const override { return AIID == kUnknownIID; }
  rtl::IPtr<IQorCrypter> Create() const override {
    ADD_FAILURE() << "constructed";
    return {};
  }
};

rtl::IPtr<TQorCryptEngine> NewEngine() { return rtl::IPtr<TQorCryptEngine>(rtl::Create<TQorCryptEngine>()); }

TEST(CryptEngine, EmptyRegistryFindsNothing) {
  auto engine = NewEngine();
  EXPECT_EQ(engine->FindCrypter(IQorCrypter::IID), nullptr);
  EXPECT_EQ(engine->FindCrypter(u"Blowfish"), nullptr);
  EXPECT_FALSE(engine->CreateCrypter(IQorCrypter::IID));
  EXPECT_FALSE(engine->CreateCrypter(u"Blowfish"));
}

TEST(CryptEngine, BlowfishClassDescribesItself) {
  EXPECT_EQ(BlowFish().GetAlgorithm(), u"Blowfish");
  EXPECT_EQ(BlowFish().ClassName(), u"TQorCrypterBlowFish");
  EXPECT_TRUE(BlowFish().Implements(IQorCrypterBlowFish::IID));
  EXPECT_TRUE(BlowFish().Implements(IQorCrypter::IID));
  EXPECT_TRUE(BlowFish().Implements(rtl::IInterface::IID));
  EXPECT_FALSE(BlowFish().Implements(IQorCryptEngine::IID));
  EXPECT_FALSE(BlowFish().Implements(kUnknownIID));
  rtl::IPtr<IQorCrypter> crypter = BlowFish().Create();
  ASSERT_TRUE(crypter);
  EXPECT_TRUE(rtl::Supports<IQorCrypterBlowFish>(crypter));
}

TEST(CryptEngine, LookupByGuidTakesTheEarliestRegisteredMatch) {
  auto engine = NewEngine();
  engine->RegisterCrypter(Counting());
  engine->RegisterCrypter(BlowFish());
  engine->RegisterCrypter(Counting());  // a duplicate changes nothing, not even the order
  EXPECT_EQ(engine->CrypterCount(), 2);
  EXPECT_EQ(engine->FindCrypter(IQorCrypter::IID), &Counting());
  EXPECT_EQ(engine->FindCrypter(rtl::IInterface::IID), &Counting());
  EXPECT_EQ(engine->FindCrypter(IQorCrypterBlowFish::IID), &BlowFish());
  EXPECT_EQ(engine->FindCrypter(crypt_test::ITestMarker::IID), &Counting());
  EXPECT_EQ(engine->FindCrypter(kUnknownIID), nullptr);
  EXPECT_EQ(engine->FindCrypter(IQorCryptEngine::IID), nullptr);

  rtl::IPtr<IQorCrypter> blowfish = engine->CreateCrypter(IQorCrypterBlowFish::IID);
  EXPECT_TRUE(rtl::Supports<IQorCrypterBlowFish>(blowfish));
  EXPECT_FALSE(rtl::Supports<crypt_test::ITestMarker>(blowfish));
  EXPECT_FALSE(engine->CreateCrypter(kUnknownIID));
}

TEST(CryptEngine, LookupByNameLowerCasesOnlyAToZ) {
  auto engine = NewEngine();
  engine->RegisterCrypter(BlowFish());
  engine->RegisterCrypter(Counting());
  struct TCase {
    rtl::StringView Name;
    const TQorCrypterClass* Expected;
  };
  const TCase cases[] = {
      {u"Blowfish", &BlowFish()},   {u"BLOWFISH", &BlowFish()},   {u"bLoWfIsH", &BlowFish()},
      {u"Blowfish ", nullptr},      {u" Blowfish", nullptr},      {u"Blow", nullptr},
      {u"", nullptr},               {u"counting-\u00C4", &Counting()}, {u"COUNTING-\u00C4", &Counting()},
      {u"counting-\u00E4", nullptr},  // Ä is no letter of A to Z: it compares as written
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Name));
    EXPECT_EQ(engine->FindCrypter(c.Name), c.Expected);
    EXPECT_EQ(static_cast<bool>(engine->CreateCrypter(c.Name)), c.Expected != nullptr);
  }
}

TEST(CryptEngine, ClassThatIsNoCrypterYieldsAnEmptyReference) {
  static const TNotACrypterClass notACrypter;
  auto engine = NewEngine();
  engine->RegisterCrypter(notACrypter);
  EXPECT_EQ(engine->FindCrypter(kUnknownIID), &notACrypter);
  EXPECT_FALSE(engine->CreateCrypter(kUnknownIID));
  EXPECT_FALSE(engine->CreateCrypter(u"nothing"));
}

TEST(CryptEngine, EveryCreateYieldsAnIndependentInstance) {
  auto engine = NewEngine();
  engine->RegisterCrypter(BlowFish());
  rtl::IPtr<IQorCrypter> a = engine->CreateCrypter(u"blowfish");
  rtl::IPtr<IQorCrypter> b = engine->CreateCrypter(u"blowfish");
  ASSERT_TRUE(a && b);
  EXPECT_FALSE(rtl::SameObject(a, b));
  // The caller's reference is the only one.
  EXPECT_EQ(dynamic_cast<rtl::TInterfacedObject*>(a.get())->RefCount(), 1);

  a->SetKey("key one", 7);
  b->SetKey("another key", 11);
  const std::string plain = crypt_test::Pattern(100);
  rtl::TMemoryStream source, outA, outB;
  crypt_test::Fill(source, plain);
  a->Encrypt(source, outA);
  b->Encrypt(source, outB);
  EXPECT_EQ(crypt_test::ContentOf(outA), crypt_test::ReferenceCrypt("key one", plain, true));
  EXPECT_EQ(crypt_test::ContentOf(outB), crypt_test::ReferenceCrypt("another key", plain, true));
}

TEST(CryptModules, StartUpRegistersBlowfishAndShutDownReleasesTheRegistry) {
  ASSERT_FALSE(CryptEngine);
  startup::TModuleRunner runner({IntfCryptModule(), CoreCryptModule()});
  runner.Initialize();
  ASSERT_TRUE(CryptEngine);
  EXPECT_EQ(CryptEngine->FindCrypter(IQorCrypter::IID), &BlowFish());
  EXPECT_EQ(CryptEngine->FindCrypter(rtl::IInterface::IID), &BlowFish());
  EXPECT_EQ(CryptEngine->FindCrypter(IQorCrypterBlowFish::IID), &BlowFish());
  auto* registry = dynamic_cast<TQorCryptEngine*>(CryptEngine.get());
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(registry->CrypterCount(), 1);
  CryptEngine->RegisterCrypter(BlowFish());
  EXPECT_EQ(registry->CrypterCount(), 1);
  EXPECT_EQ(CryptEngine->FindCrypter(kUnknownIID), nullptr);

  rtl::IPtr<IQorCrypter> crypter = CryptEngine->CreateCrypter(u"BlowFish");
  ASSERT_TRUE(crypter);
  rtl::IPtr<IQorCryptEngine> engine = CryptEngine;
  runner.Finalize();
  EXPECT_FALSE(CryptEngine);
  EXPECT_EQ(dynamic_cast<rtl::TInterfacedObject*>(engine.get())->RefCount(), 1);  // ours is the last
  engine = nullptr;

  // A crypter handed out before outlives the registry.
  crypter->SetKey("k", 1);
  rtl::TMemoryStream source, dest;
  crypt_test::Fill(source, "outlives");
  crypter->Encrypt(source, dest);
  EXPECT_EQ(crypt_test::ContentOf(dest), crypt_test::ReferenceCrypt("k", "outlives", true));
}

}  // namespace
}  // namespace qor
