#include "shared/core/MacAddress.h"

#include <cstring>
#include <memory>
#include <rpc.h>
#include <windows.h>

namespace Tunewell {

namespace {

struct TLibraryRelease {
    void operator()(HMODULE Library) const { FreeLibrary(Library); }
};

using TUuidCreateSequential = RPC_STATUS(RPC_ENTRY *)(UUID *);

std::array<std::uint8_t, 16> Bytes(const UUID &Uuid) {
    std::array<std::uint8_t, 16> bytes;
    std::memcpy(bytes.data(), &Uuid, bytes.size());
    return bytes;
}

} // namespace

// Sequential UUIDs carry the adapter address in their node field; the runtime reports
// RPC_S_UUID_LOCAL_ONLY instead when the machine has none.
std::string getMacAddress() {
    std::unique_ptr<std::remove_pointer_t<HMODULE>, TLibraryRelease> library(LoadLibraryW(L"rpcrt4.dll"));
    if (!library) {
        return {};
    }
    // Through void (*)() on the way: the address comes typeless.
    const auto create = reinterpret_cast<TUuidCreateSequential>(
        reinterpret_cast<void (*)()>(GetProcAddress(library.get(), "UuidCreateSequential")));
    if (!create) {
        return {};
    }
    UUID GUID1{};
    UUID GUID2{};
    const bool firstOk = create(&GUID1) == RPC_S_OK;
    const bool secondOk = firstOk && create(&GUID2) == RPC_S_OK;
    return AdapterAddressFromUuids(Bytes(GUID1), firstOk, Bytes(GUID2), secondOk);
}

} // namespace Tunewell
