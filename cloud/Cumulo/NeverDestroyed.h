#pragma once

namespace Cumulo {

// An object made on first use that is never destroyed: what a worker thread reaches must outlive
// the static destructors of a program that exits without waiting for the thread.
template <class T> class TNeverDestroyed {
public:
    TNeverDestroyed() : fValue() {}
    ~TNeverDestroyed() {}
    TNeverDestroyed(const TNeverDestroyed &) = delete;
    TNeverDestroyed &operator=(const TNeverDestroyed &) = delete;

    T &Get() { return fValue; }

private:
    union {
        T fValue;
    };
};

} // namespace Cumulo
