#include "base/error.h"

#include "base/utf8.h"

Error::Error(std::wstring text) : text_(std::move(text)), utf8_(ToUtf8(text_)) {}
