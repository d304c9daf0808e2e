// Reference counting for the DirectX stand-ins: an object lives while someone
// holds a reference; the last Release destroys it. TRefPtr holds one reference.
#pragma once

#include <cstdint>
#include <utility>

namespace DirectX {

class TRefCounted {
public:
    TRefCounted(const TRefCounted&) = delete;
    TRefCounted& operator=(const TRefCounted&) = delete;

    uint32_t AddRef() { return ++FRefCount; }
    uint32_t Release() {
        const uint32_t count = --FRefCount;
        if (count == 0)
            delete this; // the last reference owned the object
        return count;
    }
    uint32_t RefCount() const { return FRefCount; }

protected:
    TRefCounted() = default;
    virtual ~TRefCounted() = default;

private:
    uint32_t FRefCount = 1;
};

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
    template <class U>
    TRefPtr(TRefPtr<U> other) : FObject(other.Detach()) {}
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
    T* Detach() { return std::exchange(FObject, nullptr); }

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
    return TRefPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

} // namespace DirectX
