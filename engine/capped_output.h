// What a program writes to its console, kept for the setup log up to a cap
// so that a script that writes without end cannot fill the log or the
// memory: the first bytes up to the cap are kept, the rest only counted.
// Windows-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The update script's output that goes into the setup log at most.
inline constexpr size_t kScriptOutputCap = 64 * 1024;

class CappedOutput {
public:
    explicit CappedOutput(size_t cap) : cap_(cap) {}

    void Append(std::string_view bytes);

    const std::string& kept() const { return kept_; }
    // Bytes that came after the cap was reached.
    uint64_t cut() const { return cut_; }
    // The kept bytes as lines, split at CR LF, LF or CR, without the empty
    // ones (a cut line is the last, as far as it came).
    std::vector<std::string> Lines() const;

private:
    size_t cap_;
    std::string kept_;
    uint64_t cut_ = 0;
};
