// Class information, kind tests, casts and reference counting: the root of every object.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "core/SourcePlace.h"

class Smart;
template <class T>
class SmartRef;
struct ClassInfo;

[[noreturn]] void AssertFailed(const char* expression, const char* file, int line);
[[noreturn]] inline void AssertFailed(const char* expression, SourcePlace at) { AssertFailed(expression, at.file, at.line); }

// One conversion a class accepts: an object of `source` class, held in a slot, is replaced by an object of
// the converting class. A few entries also say how to turn the converted object back into one of the
// source class; the conversion search never goes that way.
struct ClassConversion {
  const ClassInfo* source;
  bool (*convert)(SmartRef<Smart>* slot);
  bool (*convertBack)(SmartRef<Smart>* slot);
};

// The static description of one class. Records are constant-initialised, so they are complete before any
// code runs, whatever the order of static initialisers.
struct ClassInfo {
  const char* name;
  const ClassInfo* const* parents;  // direct bases in declaration order, null-terminated
  Smart* (*toSmart)(void* object);  // from a pointer to this class's part to the object's Smart part
  Smart* (*factory)();              // a default instance, or null for abstract classes
  const ClassConversion* conversions;
  std::size_t size;

  bool IsKindOf(const ClassInfo* other) const;
  bool CanConvert(SmartRef<Smart>* slot, bool allowConversion, int depth) const;
  bool Convert(SmartRef<Smart>* slot, bool allowConversion, int depth) const;
  const char* GetName() const { return name; }
};

// The virtual root of every object. It holds no data; SmartImplementation gives the usual behaviour.
class Smart {
 public:
  static const ClassInfo classInfo;

  virtual const ClassInfo* GetClassInfo() const = 0;
  // The part of this object that belongs to the asked class, or null. Smart's own body answers this object
  // for Smart's record and null otherwise; classes call it last when walking their bases.
  virtual void* CastTo(const ClassInfo* info) = 0;
  virtual bool CanCopyFrom(Smart* source) = 0;
  virtual void CopyFrom(Smart* source) = 0;
  virtual Smart* Clone() const = 0;
  virtual void Reference() = 0;
  virtual bool Unreference() = 0;
  virtual bool IsShared() const = 0;
  virtual bool IsUnreferenced() const = 0;
  virtual void Validate() = 0;
  bool IsKindOf(const ClassInfo* info) { return CastTo(info) != nullptr; }
  void* DynamicCast(const ClassInfo* info) { return CastTo(info); }
  virtual ~Smart() = default;

 protected:
  Smart() = default;
  Smart(const Smart&) = default;
  Smart& operator=(const Smart&) = default;
};

template <class T>
Smart* SmartBaseOf(void* object) {
  return object ? static_cast<Smart*>(static_cast<T*>(object)) : nullptr;
}

template <class T>
Smart* CreateDefault() {
  return new T();
}

// Null for a null object, else the object's part of the asked class (as CastTo answers it).
inline void* CastSmart(Smart* object, const ClassInfo* info) { return object ? object->CastTo(info) : nullptr; }

// The typed form: the object's part of class T, or null. Also the kind test "member(object, T)".
template <class T, class U>
T* CastSmart(U* object) {
  if (object == nullptr) return nullptr;
  return static_cast<T*>(static_cast<Smart*>(object)->CastTo(&T::classInfo));
}

template <class T, class U>
bool IsMember(U* object) {
  return CastSmart<T>(object) != nullptr;
}

// Releases one reference; deletes the object when that was the last one.
void ReleaseSmart(Smart* object);

// A counted reference. The held object is referenced while held and released when let go.
template <class T>
class SmartRef {
 public:
  SmartRef() = default;
  SmartRef(std::nullptr_t) {}
  SmartRef(T* object) : data(object) { Hold(data); }
  SmartRef(const SmartRef& other) : data(other.data) { Hold(data); }
  SmartRef(SmartRef&& other) noexcept : data(other.data) { other.data = nullptr; }
  template <class U>
    requires std::convertible_to<U*, T*>
  SmartRef(const SmartRef<U>& other) : data(~other) {
    Hold(data);
  }
  ~SmartRef() { Drop(data); }

  SmartRef& operator=(const SmartRef& other) {
    Assign(other.data);
    return *this;
  }
  SmartRef& operator=(SmartRef&& other) noexcept {
    if (this != &other) {
      T* old = data;
      data = other.data;
      other.data = nullptr;
      Drop(old);
    }
    return *this;
  }
  SmartRef& operator=(T* object) {
    Assign(object);
    return *this;
  }
  SmartRef& operator=(std::nullptr_t) {
    Assign(nullptr);
    return *this;
  }

  T* operator->() const {
    if (data == nullptr) AssertFailed("data != NULL", __FILE__, __LINE__);
    return data;
  }
  T& operator*() const { return *operator->(); }
  // The raw pointer, unchecked.
  T* operator~() const { return data; }
  explicit operator bool() const { return data != nullptr; }
  friend bool operator==(const SmartRef& a, const SmartRef& b) { return a.data == b.data; }
  friend bool operator==(const SmartRef& a, std::nullptr_t) { return a.data == nullptr; }

 private:
  static void Hold(T* object) {
    if (object) static_cast<Smart*>(object)->Reference();
  }
  static void Drop(T* object) {
    if (object) ReleaseSmart(static_cast<Smart*>(object));
  }
  // The new object is referenced before the old one is released, so that reassigning an object that only
  // this reference keeps alive (directly or through the old one) never frees it.
  void Assign(T* object) {
    if (object == data) return;
    Hold(object);
    T* old = data;
    data = object;
    Drop(old);
  }

  T* data = nullptr;
};

// Whether the held object can be converted to the class (at most four conversions chained).
bool CanConvertSmart(const SmartRef<Smart>& reference, const ClassInfo* info);
// Converts the object held in the slot to the class; on success the slot holds the converted object.
bool ConvertSmart(SmartRef<Smart>* slot, const ClassInfo* info);

// The usual implementation: a 16-bit reference count, where 0xFFFF marks an object that is never freed.
class SmartImplementation : public virtual Smart {
 public:
  static const ClassInfo classInfo;
  static constexpr std::uint16_t kPermanent = 0xFFFF;

  SmartImplementation() = default;
  // A copy is a new object: it starts unreferenced, whatever the original's count.
  SmartImplementation(const SmartImplementation&) : Smart() {}
  SmartImplementation& operator=(const SmartImplementation&) { return *this; }

  const ClassInfo* GetClassInfo() const override { return &classInfo; }
  void* CastTo(const ClassInfo* info) override;
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;
  Smart* Clone() const override;
  void Reference() override;
  bool Unreference() override;
  bool IsShared() const override { return refCount > 1; }
  bool IsUnreferenced() const override { return refCount == 0; }
  void Validate() override {}

  virtual std::size_t GetMemorySize() const { return GetClassInfo()->size; }
  std::uint16_t GetReferenceCount() const { return refCount; }
  // For objects with static storage that references may reach: they are never counted or freed.
  void MakePermanent() { refCount = kPermanent; }
  static Smart* Create();

 private:
  std::uint16_t refCount = 0;
};

// A shared object that lives for the whole run: counted references to it never free it.
template <class T, class... Args>
T* NewPermanent(Args&&... args) {
  T* made = new T(std::forward<Args>(args)...);
  made->MakePermanent();
  return made;
}

// Declares the class-information boilerplate inside a class body. SMART_ABSTRACT for classes that cannot
// be copied as a whole (abstract ones); SMART_CLASS adds copying and cloning.
#define SMART_ABSTRACT(Class)                                          \
 public:                                                               \
  static const ClassInfo classInfo;                                    \
  const ClassInfo* GetClassInfo() const override { return &classInfo; } \
  void* CastTo(const ClassInfo* info) override;

#define SMART_CLASS(Class)                     \
  SMART_ABSTRACT(Class)                        \
  bool CanCopyFrom(Smart* source) override;    \
  void CopyFrom(Smart* source) override;       \
  Smart* Clone() const override;

// Inside a class body: objects of the class cannot be copied. Nothing copies into them and their clone is
// null, so a copy asked of one (a clipboard, a duplicated selection) finds nothing to take.
#define SMART_NOT_COPYABLE                              \
  bool CanCopyFrom(Smart*) override { return false; }   \
  void CopyFrom(Smart*) override {}                     \
  Smart* Clone() const override { return nullptr; }

namespace smart_detail {
// A base's own cast, named through a template argument: clang does not expand a pack inside a qualified
// member name.
template <class Base, class Class>
void* CastBase(Class* self, const ClassInfo* info) {
  return self->Base::CastTo(info);
}

template <class Class, class... Bases>
void* CastThrough(Class* self, const ClassInfo* info) {
  if (info == &Class::classInfo) return self;
  void* found = nullptr;
  ((found = found ? found : CastBase<Bases>(self, info)), ...);
  return found;
}
}  // namespace smart_detail

// Defines the record and the boilerplate in the class's source file. Bases are the registered direct
// bases, in declaration order; casts and kind tests walk them in that order.
#define SMART_DEFINE_ABSTRACT(Class, Name, ...)                                                        \
  static const ClassInfo* const Class##_parents[] = {__VA_OPT__(SMART_PARENTS(__VA_ARGS__), ) nullptr}; \
  const ClassInfo Class::classInfo = {Name, Class##_parents, &SmartBaseOf<Class>, nullptr, nullptr,    \
                                      sizeof(Class)};                                                  \
  void* Class::CastTo(const ClassInfo* info) {                                                         \
    return smart_detail::CastThrough<Class __VA_OPT__(, ) __VA_ARGS__>(this, info);                    \
  }

#define SMART_DEFINE(Class, Name, Factory, Conversions, ...)                                            \
  static const ClassInfo* const Class##_parents[] = {__VA_OPT__(SMART_PARENTS(__VA_ARGS__), ) nullptr}; \
  const ClassInfo Class::classInfo = {Name, Class##_parents, &SmartBaseOf<Class>, Factory, Conversions, \
                                      sizeof(Class)};                                                   \
  void* Class::CastTo(const ClassInfo* info) {                                                          \
    return smart_detail::CastThrough<Class __VA_OPT__(, ) __VA_ARGS__>(this, info);                     \
  }                                                                                                     \
  bool Class::CanCopyFrom(Smart* source) { return CastSmart(source, &Class::classInfo) != nullptr; }    \
  void Class::CopyFrom(Smart* source) {                                                                 \
    auto* castPtr = static_cast<Class*>(CastSmart(source, &Class::classInfo));                          \
    if (!castPtr) AssertFailed("castPtr", PlaceOr(kCopyCheckPlace<Class>, __FILE__, __LINE__));         \
    *this = *castPtr;                                                                                   \
  }                                                                                                     \
  Smart* Class::Clone() const { return new Class(*this); }

#define SMART_PARENT_1(a) &a::classInfo
#define SMART_PARENT_2(a, b) &a::classInfo, &b::classInfo
#define SMART_PARENT_3(a, b, c) &a::classInfo, &b::classInfo, &c::classInfo
#define SMART_PARENT_4(a, b, c, d) &a::classInfo, &b::classInfo, &c::classInfo, &d::classInfo
#define SMART_PARENT_PICK(_1, _2, _3, _4, NAME, ...) NAME
#define SMART_PARENTS(...) \
  SMART_PARENT_PICK(__VA_ARGS__, SMART_PARENT_4, SMART_PARENT_3, SMART_PARENT_2, SMART_PARENT_1)(__VA_ARGS__)
