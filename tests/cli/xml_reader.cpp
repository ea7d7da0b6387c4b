#include "xml_reader.h"

#include <cctype>
#include <stdexcept>

namespace {

class Reader {
  public:
    explicit Reader(const std::string& text) : s_(text) {}

    std::unique_ptr<XmlElement> document() {
        skipSpace();
        if (startsWith("<?xml")) skipPast("?>");
        skipMisc();
        auto root = element();
        skipMisc();
        if (pos_ != s_.size()) fail("content after the root element");
        return root;
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("XML: " + what + " at offset " + std::to_string(pos_));
    }
    bool startsWith(const char* text) const { return s_.compare(pos_, strlen(text), text) == 0; }
    static std::size_t strlen(const char* text) { return std::char_traits<char>::length(text); }
    void skipSpace() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    }
    void skipPast(const char* end) {
        const auto at = s_.find(end, pos_);
        if (at == std::string::npos) fail(std::string("missing ") + end);
        pos_ = at + strlen(end);
    }
    void skipMisc() {
        for (skipSpace(); startsWith("<!--"); skipSpace()) skipPast("-->");
    }
    std::string name() {
        const std::size_t start = pos_;
        while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) ||
                                    s_[pos_] == '-' || s_[pos_] == '_' || s_[pos_] == ':')) {
            ++pos_;
        }
        if (pos_ == start) fail("expected a name");
        return s_.substr(start, pos_ - start);
    }
    std::string resolve(const std::string& raw) const {
        std::string out;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '<') fail("'<' in text or attribute");
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const auto end = raw.find(';', i);
            if (end == std::string::npos) fail("unterminated entity");
            const std::string entity = raw.substr(i + 1, end - i - 1);
            if (entity == "amp")
                out += '&';
            else if (entity == "lt")
                out += '<';
            else if (entity == "gt")
                out += '>';
            else if (entity == "quot")
                out += '"';
            else if (entity == "apos")
                out += '\'';
            else
                fail("unknown entity &" + entity + ";");
            i = end;
        }
        return out;
    }
    std::unique_ptr<XmlElement> element() {
        if (pos_ >= s_.size() || s_[pos_] != '<') fail("expected '<'");
        ++pos_;
        auto e = std::make_unique<XmlElement>();
        e->name = name();
        for (;;) {
            skipSpace();
            if (startsWith("/>")) {
                pos_ += 2;
                return e;
            }
            if (startsWith(">")) break;
            const std::string attribute = name();
            skipSpace();
            if (!startsWith("=\"")) fail("attribute " + attribute + " without =\"value\"");
            pos_ += 2;
            const auto end = s_.find('"', pos_);
            if (end == std::string::npos) fail("unterminated attribute value");
            if (!e->attributes.emplace(attribute, resolve(s_.substr(pos_, end - pos_))).second) {
                fail("duplicate attribute " + attribute);
            }
            pos_ = end + 1;
        }
        ++pos_;
        for (;;) {
            const auto next = s_.find('<', pos_);
            if (next == std::string::npos) fail("unclosed element " + e->name);
            e->text += resolve(s_.substr(pos_, next - pos_));
            pos_ = next;
            if (startsWith("<!--")) {
                skipPast("-->");
            } else if (startsWith("</")) {
                pos_ += 2;
                if (name() != e->name) fail("mismatched end tag for " + e->name);
                skipSpace();
                if (!startsWith(">")) fail("expected '>'");
                ++pos_;
                return e;
            } else {
                e->children.push_back(element());
            }
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

void collect(const XmlElement& e, const std::string& name, std::vector<const XmlElement*>& out) {
    for (const auto& child : e.children) {
        if (child->name == name) out.push_back(child.get());
        collect(*child, name, out);
    }
}

}  // namespace

std::vector<const XmlElement*> XmlElement::findAll(const std::string& name) const {
    std::vector<const XmlElement*> found;
    collect(*this, name, found);
    return found;
}

std::unique_ptr<XmlElement> parseXml(const std::string& document) {
    return Reader(document).document();
}
