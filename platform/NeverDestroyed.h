// An object of static lifetime that is never destroyed. For the platform's defaults that
// other objects of static lifetime (a framework the program left alive) still use while
// the program's statics are torn down, in whatever order they were made.
#pragma once

#include <utility>

namespace Win32 {

template <class T>
class TNeverDestroyed {
public:
    template <class... TArgs>
    explicit TNeverDestroyed(TArgs&&... args) : FValue(std::forward<TArgs>(args)...) {}
    ~TNeverDestroyed() {} // deliberately leaves FValue alone
    TNeverDestroyed(const TNeverDestroyed&) = delete;
    TNeverDestroyed& operator=(const TNeverDestroyed&) = delete;

    T& Get() { return FValue; }

private:
    union {
        T FValue;
    };
};

} // namespace Win32
