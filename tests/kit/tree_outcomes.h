// What a tree copy tells its sink (the one the installation record hears
// from), gathered for a test.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "base/utf8.h"
#include "engine/file_ops.h"

inline const char* OutcomeName(TreeFileOutcome outcome) {
    switch (outcome) {
        case TreeFileOutcome::Copied:
            return "copied";
        case TreeFileOutcome::Kept:
            return "kept";
        case TreeFileOutcome::NotCopied:
            return "not copied";
        case TreeFileOutcome::PassedOver:
            return "passed over";
    }
    return "?";
}

// What a tree copy from source to destination tells its sink (the one the
// installation record hears from): each file or link by its path below
// destination, with its outcome. A source path that is not the same path
// below source is named as such.
class HeardOutcomes {
public:
    HeardOutcomes(std::wstring source, std::wstring destination)
        : source_(std::move(source) + L"\\"), destination_(std::move(destination) + L"\\") {}

    TreeFileSink Sink() {
        return [this](const std::wstring& source, const std::wstring& destination, TreeFileOutcome outcome) {
            const std::wstring relative = destination.substr(std::min(destination_.size(), destination.size()));
            const bool paired = destination.rfind(destination_, 0) == 0 && source == source_ + relative;
            std::string& outcomes =
                heard_[paired ? ToUtf8(relative) : "unpaired: " + ToUtf8(source) + " -> " + ToUtf8(destination)];
            outcomes += (outcomes.empty() ? "" : ", ") + std::string(OutcomeName(outcome));
        };
    }
    const std::map<std::string, std::string>& heard() const { return heard_; }

private:
    const std::wstring source_, destination_;
    std::map<std::string, std::string> heard_;
};
