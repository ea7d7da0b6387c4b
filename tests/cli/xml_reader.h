// A strict reader for the small XML subset an SVG file of ours uses: a declaration, comments,
// elements with double-quoted attributes, text, and the five predefined entities. Anything
// malformed throws std::runtime_error.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;  // entities resolved
    std::string text;                               // direct text content, entities resolved
    std::vector<std::unique_ptr<XmlElement>> children;

    // Every element below this one (depth first) with the given name.
    std::vector<const XmlElement*> findAll(const std::string& name) const;
};

std::unique_ptr<XmlElement> parseXml(const std::string& document);
