#include "engine/space_rules.h"

namespace {

constexpr uint64_t kMegabyte = 1024 * 1024;

// value in decimal with a blank between groups of three digits.
std::wstring GroupedDigits(uint64_t value) {
    const std::wstring digits = std::to_wstring(value);
    std::wstring text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += L' ';
        text += digits[i];
    }
    return text;
}

uint64_t NeededWithMargin(const VolumeSpace& space) {
    return space.needed + kSpaceMargin;
}

}  // namespace

uint64_t AllocatedSize(uint64_t size, uint64_t clusterSize) {
    if (clusterSize == 0) clusterSize = 1;
    return (size + clusterSize - 1) / clusterSize * clusterSize;
}

uint64_t CopyGrowth(uint64_t newSize, uint64_t oldSize, uint64_t clusterSize) {
    const uint64_t grown = AllocatedSize(newSize, clusterSize);
    const uint64_t freed = AllocatedSize(oldSize, clusterSize);
    return grown > freed ? grown - freed : 0;
}

bool HasRoom(const VolumeSpace& space) {
    return NeededWithMargin(space) <= space.available;
}

std::wstring NoRoomText(const VolumeSpace& space) {
    const uint64_t needed = (NeededWithMargin(space) + kMegabyte - 1) / kMegabyte;
    const uint64_t available = space.available / kMegabyte;
    return L"Недостаточно места на диске " + space.volume + L" для установки программы!\r\nТребуется " +
           GroupedDigits(needed) + L" МБ, доступно " + GroupedDigits(available) + L" МБ.";
}

std::wstring SpaceLogText(const VolumeSpace& space) {
    return L"Free space on " + space.volume + L": " + std::to_wstring(space.needed) + L" bytes to write + " +
           std::to_wstring(kSpaceMargin) + L" bytes margin, " + std::to_wstring(space.available) +
           L" bytes available to this user: " + (HasRoom(space) ? L"enough" : L"too little");
}
