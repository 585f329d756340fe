// The benchmark's reference package: the full installation package with a
// large database of pseudo-random bytes and a couple of thousand small files
// in the update packages and the updater, as a clinic's real package grows.
#pragma once

#include <cstdint>
#include <string>

struct ReferencePackageShape {
    uint64_t databaseBytes = uint64_t{1} << 30;
    int smallFiles = 2000;  // spread over "backup" and "Updater"
};

// Lays the package out in folder (with its trailing "\"), every file written
// for real (no sparse regions), the same bytes on every run. Throws
// std::runtime_error naming the file it could not write.
void BuildReferencePackage(const std::wstring& folder, const ReferencePackageShape& shape);
