#pragma once
// The registry, read-only: open a key from a predefined root with KEY_READ,
// query a value's type and bytes, close the key.
#include <cstdint>
#include <vector>

#include "platform/types.h"
#include "rtl/exceptions.h"
#include "rtl/strings.h"

namespace qor::platform {

// The predefined root handles, with their Windows values.
enum class TRegRoot : std::uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };

// windows.h defines these names as macros; code that includes it uses TRegRoot.
#ifndef HKEY_CURRENT_USER
inline constexpr TRegRoot HKEY_CURRENT_USER = TRegRoot::CurrentUser;
#endif
#ifndef HKEY_LOCAL_MACHINE
inline constexpr TRegRoot HKEY_LOCAL_MACHINE = TRegRoot::LocalMachine;
#endif

// Value types with their Windows numbers.
enum class TRegDataType : std::uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  DWord = 4,         // REG_DWORD (little endian)
  DWordBigEndian = 5,
  Link = 6,
  MultiString = 7,
  QWord = 11,
};

inline constexpr std::uint32_t kKeyRead = 0x20019;  // KEY_READ

struct TRegValue {
  std::uint32_t Type = 0;          // a TRegDataType number, or any other the store holds
  std::vector<std::uint8_t> Data;  // exactly the bytes the system returned
};

class TRegistryService {
 public:
  virtual ~TRegistryService() = default;
  // Opens path (from the root; a leading backslash is allowed) with KEY_READ in the
  // 32-bit view. False when the key is absent or cannot be read.
  virtual bool OpenKey(TRegRoot root, rtl::StringView path, THandle& key) = 0;
  // False when the key holds no value of that name ("" is the default value).
  virtual bool QueryValue(THandle key, rtl::StringView name, TRegValue& value) = 0;
  virtual void CloseKey(THandle key) = 0;
};

// A registry file the substitute could not read: the message names the file and line
// ("registry.reg:12: ..."); main shows it and ends with exit code 1.
using Exception = rtl::Exception;
QOR_DECLARE_EXCEPTION(ERegistryFileError, Exception);

}  // namespace qor::platform
