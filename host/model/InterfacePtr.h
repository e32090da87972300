// InterfacePtr: holds one reference to an interface and releases it when it goes.
#pragma once

#include <utility>

#include "IPMUnknown.h"

template <class T>
class InterfacePtr {
public:
    InterfacePtr() = default;
    // Adopts a reference that the caller already holds (as returned by CreateObject2 or QueryInterface).
    explicit InterfacePtr(T* adopted) : mIface(adopted) {}
    // Queries `iid` on the object of `sibling`.
    InterfacePtr(const IPMUnknown* sibling, PMIID iid = T::kDefaultIID)
        : mIface(sibling ? static_cast<T*>(sibling->QueryInterface(iid)) : nullptr) {}
    InterfacePtr(const InterfacePtr& other) : mIface(other.mIface) { if (mIface) mIface->AddRef(); }
    InterfacePtr(InterfacePtr&& other) noexcept : mIface(std::exchange(other.mIface, nullptr)) {}
    InterfacePtr& operator=(InterfacePtr other) noexcept
    {
        std::swap(mIface, other.mIface);
        return *this;
    }
    ~InterfacePtr() { if (mIface) mIface->Release(); }

    T* get() const { return mIface; }
    T* operator->() const { return mIface; }
    T& operator*() const { return *mIface; }
    explicit operator bool() const { return mIface != nullptr; }
    // Gives up the reference without releasing it.
    T* forget() { return std::exchange(mIface, nullptr); }

private:
    T* mIface = nullptr;
};
