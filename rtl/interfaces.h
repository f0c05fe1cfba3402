#pragma once
// COM-style reference-counted interfaces identified by GUIDs.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <utility>

namespace qor::rtl {

struct TGUID {
  std::uint32_t D1 = 0;
  std::uint16_t D2 = 0;
  std::uint16_t D3 = 0;
  std::uint8_t D4[8] = {};

  constexpr bool operator==(const TGUID& other) const {
    if (D1 != other.D1 || D2 != other.D2 || D3 != other.D3) return false;
    for (int i = 0; i < 8; ++i)
      if (D4[i] != other.D4[i]) return false;
    return true;
  }
};

namespace detail {
consteval unsigned HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  throw "invalid hexadecimal digit in GUID";
}
consteval std::uint32_t HexField(std::string_view s, std::size_t pos, std::size_t len) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < len; ++i) v = v * 16 + HexDigit(s[pos + i]);
  return v;
}
}  // namespace detail

// "{6904CFC9-D814-46A6-9694-39634585DCBD}" parsed at compile time.
consteval TGUID GUID(std::string_view s) {
  if (s.size() != 38 || s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' ||
      s[37] != '}')
    throw "malformed GUID text";
  TGUID g;
  g.D1 = detail::HexField(s, 1, 8);
  g.D2 = static_cast<std::uint16_t>(detail::HexField(s, 10, 4));
  g.D3 = static_cast<std::uint16_t>(detail::HexField(s, 15, 4));
  g.D4[0] = static_cast<std::uint8_t>(detail::HexField(s, 20, 2));
  g.D4[1] = static_cast<std::uint8_t>(detail::HexField(s, 22, 2));
  for (int i = 0; i < 6; ++i) g.D4[2 + i] = static_cast<std::uint8_t>(detail::HexField(s, 25 + 2 * i, 2));
  return g;
}

// The base interface: query by GUID, add a reference, release a reference.
class IInterface {
 public:
  static constexpr TGUID IID = GUID("{00000000-0000-0000-C000-000000000046}");
  virtual bool QueryInterface(const TGUID& iid, void** obj) = 0;
  virtual std::int32_t _AddRef() = 0;
  virtual std::int32_t _Release() = 0;

 protected:
  ~IInterface() = default;
};

// Intrusive owning reference to an interface (or to an implementing class).
template <class T>
class IPtr {
 public:
  IPtr() = default;
  IPtr(std::nullptr_t) {}
  IPtr(T* p) : FPtr(p) {
    if (FPtr) FPtr->_AddRef();
  }
  IPtr(const IPtr& other) : IPtr(other.FPtr) {}
  IPtr(IPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  IPtr(const IPtr<U>& other) : IPtr(static_cast<T*>(other.get())) {}
  ~IPtr() { reset(); }

  IPtr& operator=(const IPtr& other) {
    IPtr(other).swap(*this);
    return *this;
  }
  IPtr& operator=(IPtr&& other) noexcept {
    IPtr(std::move(other)).swap(*this);
    return *this;
  }
  IPtr& operator=(std::nullptr_t) {
    reset();
    return *this;
  }

  // Releases the held reference; the field is emptied before the release runs.
  void reset() {
    if (T* p = std::exchange(FPtr, nullptr)) p->_Release();
  }
  void swap(IPtr& other) noexcept { std::swap(FPtr, other.FPtr); }
  T* get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  T& operator*() const { return *FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  bool operator==(const IPtr& other) const { return FPtr == other.FPtr; }
  bool operator==(std::nullptr_t) const { return FPtr == nullptr; }

  // Adopts a pointer that already carries one reference (the result of QueryInterface).
  static IPtr Adopt(T* p) {
    IPtr r;
    r.FPtr = p;
    return r;
  }

 private:
  T* FPtr = nullptr;
};

// Asks obj for interface I; an empty reference when it is not offered.
template <class I, class U>
IPtr<I> Supports(U* obj) {
  if (!obj) return {};
  void* out = nullptr;
  if (!obj->QueryInterface(I::IID, &out)) return {};
  return IPtr<I>::Adopt(static_cast<I*>(out));
}
template <class I, class U>
IPtr<I> Supports(const IPtr<U>& obj) {
  return Supports<I>(obj.get());
}

// Identity of two references is the identity of their IInterface queries.
template <class A, class B>
bool SameObject(const IPtr<A>& a, const IPtr<B>& b) {
  return Supports<IInterface>(a).get() == Supports<IInterface>(b).get();
}

// The counting base. The count starts at 1 during construction, as in the classic
// frameworks, so that references taken in a constructor do not destroy the object;
// Create() runs AfterConstruction and drops that reference.
class TInterfacedObject {
 public:
  TInterfacedObject() = default;
  TInterfacedObject(const TInterfacedObject&) = delete;
  TInterfacedObject& operator=(const TInterfacedObject&) = delete;
  virtual ~TInterfacedObject() = default;

  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  std::int32_t RefCount() const { return FRefCount; }

 protected:
  std::int32_t AddRefImpl() { return ++FRefCount; }
  std::int32_t ReleaseImpl() {
    const std::int32_t count = --FRefCount;
    if (count == 0) {
      FRefCount = 1;  // a reference taken by BeforeDestruction must not recurse
      BeforeDestruction();
      delete this;
    }
    return count;
  }
  template <class T, class... A>
  friend T* Create(A&&... args);

 private:
  std::int32_t FRefCount = 1;
};

// Constructs T, runs AfterConstruction, and returns it with no reference held:
// store it in an IPtr at once.
template <class T, class... A>
T* Create(A&&... args) {
  T* obj = new T(std::forward<A>(args)...);
  obj->AfterConstruction();
  --static_cast<TInterfacedObject*>(obj)->FRefCount;
  return obj;
}

namespace detail {
template <class I>
constexpr bool InterfaceHas(const TGUID& iid) {
  if (I::IID == iid) return true;
  if constexpr (std::is_same_v<I, IInterface>)
    return false;
  else
    return InterfaceHas<typename I::Parent>(iid);
}
}  // namespace detail

// Implements the counting and the query for the listed interfaces (each declares
// its IID and its Parent interface). Identity: IInterface resolves to the first.
template <class... Intfs>
class TInterfaced : public TInterfacedObject, public Intfs... {
  using First = std::tuple_element_t<0, std::tuple<Intfs...>>;

 public:
  static constexpr bool ImplementsStatic(const TGUID& iid) { return (detail::InterfaceHas<Intfs>(iid) || ...); }

  bool QueryInterface(const TGUID& iid, void** obj) override { return QueryOwn(iid, obj); }
  std::int32_t _AddRef() override { return AddRefImpl(); }
  std::int32_t _Release() override { return ReleaseImpl(); }

 protected:
  bool QueryOwn(const TGUID& iid, void** obj) {
    if (iid == IInterface::IID) {
      *obj = static_cast<IInterface*>(static_cast<First*>(this));
      _AddRef();
      return true;
    }
    return (QueryOne<Intfs>(iid, obj) || ...);
  }

 private:
  template <class I>
  bool QueryOne(const TGUID& iid, void** obj) {
    if (!detail::InterfaceHas<I>(iid)) return false;
    *obj = QueryCast<I>(static_cast<I*>(this), iid);
    _AddRef();
    return true;
  }
  // Walks from I up to the ancestor whose IID matches, so the pointer has that type.
  template <class I>
  static void* QueryCast(I* p, const TGUID& iid) {
    if constexpr (std::is_same_v<I, IInterface>) {
      return p;
    } else {
      if (I::IID == iid) return p;
      return QueryCast<typename I::Parent>(static_cast<typename I::Parent*>(p), iid);
    }
  }
};

// Adds interfaces to an implementing base class.
template <class Base, class... Intfs>
class TInterfacedExtend : public Base, public Intfs... {
 public:
  using Base::Base;
  static constexpr bool ImplementsStatic(const TGUID& iid) {
    return (detail::InterfaceHas<Intfs>(iid) || ...) || Base::ImplementsStatic(iid);
  }
  bool QueryInterface(const TGUID& iid, void** obj) override {
    if (iid != IInterface::IID) {
      if ((QueryOne<Intfs>(iid, obj) || ...)) return true;
    }
    return Base::QueryInterface(iid, obj);
  }
  std::int32_t _AddRef() override { return Base::_AddRef(); }
  std::int32_t _Release() override { return Base::_Release(); }

 private:
  template <class I>
  bool QueryOne(const TGUID& iid, void** obj) {
    if (!(I::IID == iid)) return false;
    *obj = static_cast<I*>(this);
    Base::_AddRef();
    return true;
  }
};

}  // namespace qor::rtl
