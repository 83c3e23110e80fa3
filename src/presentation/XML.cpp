#include "presentation/XML.h"

#include <utility>

namespace Orvane {

namespace {

const char* const indentationStep = "    ";

void writeIndentation(FILE* file, int depth) {
    for (int i = 0; i < depth; ++i) std::fputs(indentationStep, file);
}

void writeText(FILE* file, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file);
}

}  // namespace

XML::XML(std::string name, XML* parent) : name(std::move(name)), parent(parent) {}

XML* XML::append(std::string childName) {
    children.emplace_back(std::move(childName), this);
    return &children.back();
}

std::string& XML::operator[](std::string attribute) { return attributes[std::move(attribute)]; }

void XML::setText(std::string newText) { text = std::move(newText); }

void XML::exportXML(FILE* file, int depth) {
    writeIndentation(file, depth);
    if (!text.empty()) {
        writeText(file, text);
        std::fputc('\n', file);
        return;
    }
    std::fputc('<', file);
    writeText(file, name);
    for (const auto& [key, value] : attributes) {
        std::fputc(' ', file);
        writeText(file, key);
        std::fputs("=\"", file);
        writeText(file, value);
        std::fputc('"', file);
    }
    if (children.empty()) {
        std::fputs(" />\n", file);
        return;
    }
    std::fputs(">\n", file);
    for (XML& child : children) child.exportXML(file, depth + 1);
    writeIndentation(file, depth);
    std::fputs("</", file);
    writeText(file, name);
    std::fputs(">\n", file);
}

}  // namespace Orvane
