// XML documents built to make a parser spend unbounded time or memory.
#pragma once

#include <string>
#include <string_view>

// "Billion laughs": ten levels of entities, each referring ten times to the
// one below, so the one reference inside ROOT expands to 10^10 characters.
// content goes into ROOT before that reference.
inline std::string NestedEntityDocument(std::string_view content) {
    std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE ROOT [<!ENTITY a \"aaaaaaaaaa\">";
    for (char name = 'b'; name <= 'j'; ++name) {
        xml += std::string("<!ENTITY ") + name + " \"";
        for (int i = 0; i < 10; ++i) xml += std::string("&") + static_cast<char>(name - 1) + ";";
        xml += "\">";
    }
    return xml + "]>\n<ROOT>" + std::string(content) + "<Note>&j;</Note></ROOT>\n";
}
