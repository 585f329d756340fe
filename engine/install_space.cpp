#include "engine/install_space.h"

#include <windows.h>

#include <optional>
#include <string>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/tree_walk.h"

namespace {

// Assumed where the volume does not tell its cluster size.
constexpr uint64_t kUsualClusterSize = 4096;

uint64_t SizeOf(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct Volume {
    std::wstring name;
    uint64_t clusterSize = kUsualClusterSize;
    uint64_t available = 0;
};

// The volume that holds folder (or would hold it once created).
std::optional<Volume> VolumeOf(std::wstring_view folder, FreeSpaceQuery freeSpace) {
    const std::wstring existing = NearestExistingFolder(folder);
    if (existing.empty()) {
        setup_log::Write(L"Free space: no part of " + std::wstring(folder) + L" exists; not checked");
        return std::nullopt;
    }
    const Result<uint64_t> available = freeSpace(existing);
    if (!available) {
        setup_log::WriteError(
            L"Free space: cannot be read for " + WithTrailingBackslash(existing) + L"; not checked",
            available.code());
        return std::nullopt;
    }
    Volume volume;
    volume.available = available.value();
    wchar_t name[MAX_PATH + 1];
    // Named as the system names volumes, with a trailing "\" ("C:\").
    volume.name =
        WithTrailingBackslash(GetVolumePathNameW(existing.c_str(), name, MAX_PATH + 1) ? name : existing);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (GetDiskFreeSpaceW(volume.name.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) &&
        sectorsPerCluster * bytesPerSector > 0)
        volume.clusterSize = uint64_t{sectorsPerCluster} * bytesPerSector;
    return volume;
}

// Adds up the clusters that copies onto one volume add to it.
class SpaceCount {
public:
    explicit SpaceCount(uint64_t clusterSize) : clusterSize_(clusterSize) {}

    uint64_t bytes() const { return bytes_; }

    // A new file beside whatever is there.
    void AddNewFile(const std::wstring& source) { bytes_ += AllocatedSize(SizeOf(source), clusterSize_); }

    // A copy over destination's old content, if any.
    void AddCopy(const std::wstring& source, const std::wstring& destination) {
        bytes_ += CopyGrowth(SizeOf(source), SizeOf(destination), clusterSize_);
    }

    // The tree copy's files.
    void AddTree(const std::wstring& source, const std::wstring& destination) {
        ForEachTreeFile(source, [&](const std::wstring& file) {
            AddCopy(JoinPath(source, file), JoinPath(destination, file));
        });
    }

private:
    const uint64_t clusterSize_;
    uint64_t bytes_ = 0;
};

// What the plan's copies add to one volume: those of the fonts, or all the
// others.
uint64_t PlannedBytes(const InstallPlan& plan, bool fonts, uint64_t clusterSize) {
    SpaceCount count(clusterSize);
    for (const PlanStep& step : plan) {
        if ((step.kind == StepKind::Fonts) != fonts) continue;
        for (const PlannedCopy& copy : step.copies) {
            switch (step.kind) {
                case StepKind::Database:
                    if (!KeepsItsDestination(step)) count.AddNewFile(copy.source);
                    break;
                case StepKind::FileGroup:
                case StepKind::Registration:
                    count.AddCopy(copy.source, copy.destination);
                    break;
                case StepKind::Driver:
                case StepKind::CopyTree:
                    count.AddTree(copy.source, copy.destination);
                    break;
                case StepKind::Fonts:
                    if (!FileExists(copy.destination)) count.AddNewFile(copy.source);
                    break;
                default:
                    break;
            }
        }
    }
    return count.bytes();
}

}  // namespace

Result<uint64_t> FreeBytesForUser(const std::wstring& folder) {
    // The folder rather than the volume's root.
    ULARGE_INTEGER bytes{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), &bytes, nullptr, nullptr))
        return Result<uint64_t>::Failure(L"Cannot read the free space of " + folder, GetLastError());
    return uint64_t{bytes.QuadPart};
}

std::vector<VolumeSpace> MeasureInstallSpace(const InstallPlan& plan, std::wstring_view installFolder,
                                             std::wstring_view fontsFolder, FreeSpaceQuery freeSpace) {
    std::vector<VolumeSpace> volumes;
    if (const std::optional<Volume> volume = VolumeOf(installFolder, freeSpace))
        volumes.push_back({volume->name, PlannedBytes(plan, false, volume->clusterSize), volume->available});
    if (const std::optional<Volume> volume = VolumeOf(fontsFolder, freeSpace)) {
        const uint64_t fonts = PlannedBytes(plan, true, volume->clusterSize);
        if (!volumes.empty() && SameFileName(volumes[0].volume, volume->name))
            volumes[0].needed += fonts;
        else if (fonts > 0)
            volumes.push_back({volume->name, fonts, volume->available});
    }
    return volumes;
}
