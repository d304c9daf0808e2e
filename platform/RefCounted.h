// Reference counting for the objects our DirectX stand-ins hand out: the object
// starts with one reference held by its creator and deletes itself on the last Release.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace Win32 {

template <class Interface>
class TRefCounted : public Interface {
public:
    using Interface::Interface;
    uint32_t AddRef() override { return ++FReferences; }
    uint32_t Release() override {
        const uint32_t left = --FReferences;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<uint32_t> FReferences{1};
};

// The reference counting of objects whose class is not an abstract interface: the
// object is made as a TRefCounted<the class> (MakeRef) and released through this.
class IUnknown {
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Holds one reference to a reference-counted object.
template <class T>
class TRefPtr {
public:
    TRefPtr() = default;
    TRefPtr(std::nullptr_t) {}
    // Takes a new reference on object.
    explicit TRefPtr(T* object) : FObject(object) {
        if (FObject)
            FObject->AddRef();
    }
    TRefPtr(const TRefPtr& other) : TRefPtr(other.FObject) {}
    TRefPtr(TRefPtr&& other) noexcept : FObject(std::exchange(other.FObject, nullptr)) {}
    ~TRefPtr() { Reset(); }

    TRefPtr& operator=(TRefPtr other) noexcept {
        std::swap(FObject, other.FObject);
        return *this;
    }

    // Takes over the one reference a freshly made object carries.
    static TRefPtr Adopt(T* object) {
        TRefPtr result;
        result.FObject = object;
        return result;
    }

    void Reset() {
        if (T* object = std::exchange(FObject, nullptr))
            object->Release();
    }
    T* Get() const { return FObject; }
    T* operator->() const { return FObject; }
    T& operator*() const { return *FObject; }
    explicit operator bool() const { return FObject != nullptr; }
    friend bool operator==(const TRefPtr& a, const TRefPtr& b) { return a.FObject == b.FObject; }
    friend bool operator==(const TRefPtr& a, const T* b) { return a.FObject == b; }

private:
    T* FObject = nullptr;
};

template <class T, class... Args>
TRefPtr<T> MakeRef(Args&&... args) {
    return TRefPtr<T>::Adopt(new TRefCounted<T>(std::forward<Args>(args)...));
}

} // namespace Win32
