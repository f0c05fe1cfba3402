// The apartment the launcher's UI thread enters before it asks the shell.
#ifdef _WIN32
#include <objbase.h>

#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

// What the thread is in: a second entry of the other kind is refused while it is
// in a single-threaded apartment and accepted when it is in none.
bool InSingleThreadedApartment() {
  const HRESULT r = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(r)) ::CoUninitialize();
  return r == RPC_E_CHANGED_MODE;
}

bool InNoApartment() {
  const HRESULT r = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(r)) ::CoUninitialize();
  return r == S_OK;
}

TEST(ShellApartment, EntersASingleThreadedApartmentAndLeavesIt) {
  ASSERT_TRUE(InNoApartment());
  {
    TShellApartment apartment;
    EXPECT_TRUE(InSingleThreadedApartment());
    // A nested entry of the same kind, as a picture decode makes, counts and goes.
    EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    ::CoUninitialize();
    EXPECT_TRUE(InSingleThreadedApartment());
  }
  EXPECT_TRUE(InNoApartment());
}

}  // namespace
}  // namespace qor::platform::testing
#endif
