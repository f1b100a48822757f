// Reference counting shared by every interface the platform creates: an interface starts
// with one reference, and its last Release deletes it.
#pragma once

#include "platform/d3d9.h"

template <class Interface>
class KvRefCounted : public Interface {
 public:
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG references_ = 1;
};
