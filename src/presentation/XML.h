#pragma once

#include <cstdio>
#include <deque>
#include <map>
#include <string>

namespace Orvane {

// A small general element tree that writes itself as indented XML.
class XML {
public:
    std::map<std::string, std::string> attributes;
    std::deque<XML> children;  // a deque: appending never moves earlier children
    std::string name;
    std::string text;  // not empty: the node is a text node
    XML* parent;       // not owned; null for a root

    XML(std::string name, XML* parent);

    XML* append(std::string name);
    std::string& operator[](std::string attribute);
    void setText(std::string text);
    void exportXML(FILE* file, int depth);
};

}  // namespace Orvane
