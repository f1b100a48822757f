// What every object our D3DX hands out needs beyond its interface: a virtual destructor, as the
// system's interfaces have none, so that the last Release destroys the whole object; reference
// counting; and QueryInterface, which answers for IUnknown and the interfaces the object names.
#pragma once

#include <cstring>
#include <initializer_list>

#include "platform/d3dx9.h"
#include "platform/ref_counted.h"

template <class Interface>
class KvDestructible : public Interface {
 public:
  virtual ~KvDestructible() = default;
};

template <class Interface>
class KvComObject : public KvRefCounted<KvDestructible<Interface>> {
 protected:
  HRESULT Query(REFIID riid, void** out, std::initializer_list<const GUID*> interfaces) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (std::memcmp(&riid, &IID_IUnknown, sizeof(GUID)) == 0) return Give(out);
    for (const GUID* id : interfaces) {
      if (std::memcmp(&riid, id, sizeof(GUID)) == 0) return Give(out);
    }
    return E_NOINTERFACE;
  }

 private:
  HRESULT Give(void** out) {
    this->AddRef();
    *out = static_cast<Interface*>(this);
    return S_OK;
  }
};
