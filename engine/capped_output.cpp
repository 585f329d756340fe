#include "engine/capped_output.h"

void CappedOutput::Append(std::string_view bytes) {
    const size_t room = cap_ - kept_.size();
    const size_t taken = bytes.size() < room ? bytes.size() : room;
    kept_.append(bytes.substr(0, taken));
    cut_ += bytes.size() - taken;
}

std::vector<std::string> CappedOutput::Lines() const {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < kept_.size()) {
        size_t end = kept_.find_first_of("\r\n", start);
        if (end == std::string::npos) end = kept_.size();
        if (end > start) lines.push_back(kept_.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
