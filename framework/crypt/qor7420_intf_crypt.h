#pragma once
// The crypter interfaces, the crypter class the registry stores, and the slot
// that holds the process's one registry.
#include <cstdint>

#include "framework/startup/module_runner.h"
#include "rtl/interfaces.h"
#include "rtl/streams.h"
#include "rtl/strings.h"

namespace qor {

// A crypter instance: a raw key and the encryption and decryption of streams and
// files with it.
class IQorCrypter : public rtl::IInterface {
 public:
  using Parent = rtl::IInterface;
  static constexpr rtl::TGUID IID = rtl::GUID("{066E77F0-FB6F-47CA-9773-429054EA36C3}");

  virtual void SetKey(const void* AKey, std::uint32_t ASizeInBytes) = 0;
  virtual void Encrypt(rtl::TStream& AStreamSource, rtl::TStream& AStreamDest) = 0;
  virtual void Encrypt(rtl::TStream& AStream) = 0;
  virtual void Encrypt(rtl::StringView AFileNameSource, rtl::StringView AFileNameDest) = 0;
  virtual void Encrypt(rtl::StringView AFileName) = 0;
  virtual void Decrypt(rtl::TStream& AStreamSource, rtl::TStream& AStreamDest) = 0;
  virtual void Decrypt(rtl::TStream& AStream) = 0;
  virtual void Decrypt(rtl::StringView AFileNameSource, rtl::StringView AFileNameDest) = 0;
  virtual void Decrypt(rtl::StringView AFileName) = 0;

 protected:
  ~IQorCrypter() = default;
};

// Identifies the Blowfish crypter in lookups by GUID; no operations of its own.
class IQorCrypterBlowFish : public rtl::IInterface {
 public:
  using Parent = rtl::IInterface;
  static constexpr rtl::TGUID IID = rtl::GUID("{67D40FA8-828D-4DE1-97C4-FC4D205BE5C1}");

 protected:
  ~IQorCrypterBlowFish() = default;
};

// A crypter class: a static meta-object, never an instance. The registry stores
// these and compares them by address.
class TQorCrypterClass {
 public:
  virtual rtl::StringView ClassName() const = 0;
  // The display name of the class's algorithm ("Blowfish").
  virtual rtl::String GetAlgorithm() const = 0;
  // Counts the interfaces of the class and of all its ancestors, IInterface included.
  virtual bool Implements(const rtl::TGUID& AIID) const = 0;
  // A new instance with no key; empty when the class is no crypter.
  virtual rtl::IPtr<IQorCrypter> Create() const = 0;

 protected:
  ~TQorCrypterClass() = default;
};

// The crypter registry.
class IQorCryptEngine : public rtl::IInterface {
 public:
  using Parent = rtl::IInterface;
  static constexpr rtl::TGUID IID = rtl::GUID("{246F94D7-17D7-47D9-82D3-67F23656326B}");

  virtual void RegisterCrypter(const TQorCrypterClass& ACrypterClass) = 0;
  virtual const TQorCrypterClass* FindCrypter(const rtl::TGUID& IID) = 0;
  virtual const TQorCrypterClass* FindCrypter(rtl::StringView Algorithm) = 0;
  virtual rtl::IPtr<IQorCrypter> CreateCrypter(const rtl::TGUID& IID) = 0;
  virtual rtl::IPtr<IQorCrypter> CreateCrypter(rtl::StringView Algorithm) = 0;

 protected:
  ~IQorCryptEngine() = default;
};

// The process's registry: filled by the start-up of qor7420_core_crypt, emptied by
// the shut-down of this unit, which destroys the registry.
extern rtl::IPtr<IQorCryptEngine> CryptEngine;

// Start-up: nothing; shut-down: empties CryptEngine.
const startup::TModule& IntfCryptModule();

}  // namespace qor
