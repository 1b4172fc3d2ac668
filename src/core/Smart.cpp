#include "core/Smart.h"

const ClassInfo Smart::classInfo = {"Smart", nullptr, [](void* object) { return static_cast<Smart*>(object); },
                                    nullptr, nullptr, sizeof(void*)};

void* Smart::CastTo(const ClassInfo* info) { return info == &Smart::classInfo ? this : nullptr; }

bool ClassInfo::IsKindOf(const ClassInfo* other) const {
  if (other == this) return true;
  for (const ClassInfo* const* parent = parents; parent && *parent; ++parent)
    if ((*parent)->IsKindOf(other)) return true;
  return false;
}

bool ClassInfo::CanConvert(SmartRef<Smart>* slot, bool allowConversion, int depth) const {
  Smart* object = ~*slot;
  if (object == nullptr) return true;
  if (object->IsKindOf(this)) return true;
  if (!allowConversion || depth <= 0) return false;
  for (const ClassConversion* entry = conversions; entry && entry->source; ++entry)
    if (entry->source->CanConvert(slot, allowConversion, depth - 1)) return true;
  return false;
}

bool ClassInfo::Convert(SmartRef<Smart>* slot, bool allowConversion, int depth) const {
  Smart* object = ~*slot;
  if (object == nullptr) return false;
  if (object->IsKindOf(this)) return true;
  if (!allowConversion || depth <= 0) return false;
  for (const ClassConversion* entry = conversions; entry && entry->source; ++entry) {
    if (!entry->source->CanConvert(slot, allowConversion, depth - 1)) continue;
    SmartRef<Smart> copy = *slot;
    if (entry->source->Convert(&copy, allowConversion, depth - 1) && entry->convert(&copy)) {
      *slot = copy;
      return true;
    }
  }
  return false;
}

void ReleaseSmart(Smart* object) {
  if (object && object->Unreference()) delete object;
}

bool CanConvertSmart(const SmartRef<Smart>& reference, const ClassInfo* info) {
  SmartRef<Smart> copy = reference;
  return info->CanConvert(&copy, true, 4);
}

bool ConvertSmart(SmartRef<Smart>* slot, const ClassInfo* info) {
  SmartRef<Smart> copy = *slot;
  if (!info->Convert(&copy, true, 4)) return false;
  *slot = copy;
  return true;
}

SMART_DEFINE(SmartImplementation, "SmartImplementation", &SmartImplementation::Create, nullptr, Smart)

Smart* SmartImplementation::Create() { return new SmartImplementation(); }

void SmartImplementation::Reference() {
  if (refCount != kPermanent) ++refCount;
}

// A release at count 0 (an object nobody counted) leaves the count at 0 instead of wrapping it to the
// permanent value: the object stays managed, and a later reference and release still free it.
bool SmartImplementation::Unreference() {
  if (refCount == kPermanent || refCount == 0) return false;
  return --refCount == 0;
}
