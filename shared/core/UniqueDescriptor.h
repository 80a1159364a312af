#pragma once

#include <unistd.h>

namespace Tunewell {

// Owns a POSIX file descriptor: closed when replaced or gone.
class UniqueDescriptor {
public:
    UniqueDescriptor() = default;
    explicit UniqueDescriptor(int Descriptor) : Descriptor_(Descriptor) {}
    UniqueDescriptor(const UniqueDescriptor &) = delete;
    UniqueDescriptor &operator=(const UniqueDescriptor &) = delete;
    UniqueDescriptor(UniqueDescriptor &&Other) noexcept : Descriptor_(Other.Descriptor_) {
        Other.Descriptor_ = -1;
    }
    UniqueDescriptor &operator=(UniqueDescriptor &&Other) noexcept {
        if (this != &Other) {
            Reset();
            Descriptor_ = Other.Descriptor_;
            Other.Descriptor_ = -1;
        }
        return *this;
    }
    ~UniqueDescriptor() { Reset(); }

    int Get() const { return Descriptor_; }
    bool Valid() const { return Descriptor_ >= 0; }
    void Reset() {
        if (Descriptor_ >= 0)
            ::close(Descriptor_);
        Descriptor_ = -1;
    }

private:
    int Descriptor_ = -1;
};

} // namespace Tunewell
