#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlversion.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "converter/Svg.h"

namespace Pictavo {

namespace {

// libxml2 reports nothing itself (XML_PARSE_NOERROR, XML_PARSE_NOWARNING):
// the first fatal error is kept here so the user learns where the file broke,
// not where the parser gave up after it.
struct ParseFailure {
    bool recorded = false;
    int line = 0;
    std::string message;
};

#if LIBXML_VERSION >= 21200
using ErrorReport = const xmlError*;
#else
using ErrorReport = xmlError*;
#endif

// Prints "<file>:<line>: <message>" on standard error, from the first fatal
// error or, failing that, the parser's last report.
void reportParseError(const char* path, xmlParserCtxtPtr context, const ParseFailure& failure) {
    ParseFailure shown = failure;
    if (!shown.recorded) {
        const xmlError* last = xmlCtxtGetLastError(context);
        if (last == nullptr || last->message == nullptr) return;
        shown.line = last->line;
        shown.message = last->message;
    }
    while (!shown.message.empty() && shown.message.back() == '\n') shown.message.pop_back();
    std::fprintf(stderr, "%s:%d: %s\n", path, shown.line, shown.message.c_str());
}

// The name libxml2 gives an element or attribute in its tree: the local name,
// or prefix:name when the prefix is not declared.
const xmlChar* treeName(xmlParserCtxtPtr context, const xmlChar* localName, const xmlChar* prefix,
                        const xmlChar* uri) {
    if (prefix == nullptr || uri != nullptr) return localName;
    const xmlChar* qualified = xmlDictQLookup(context->dict, prefix, localName);
    return qualified != nullptr ? qualified : localName;
}

}  // namespace

// The walk goes along with the parser instead of waiting for a document tree.
// For each element it fills libxml2's node structures with what the tree would
// hold (name, attributes, and its first child as far as convertElement reads
// it), converts the element as soon as all of that has been read, and drops it
// when the element ends. No tree is built: the document never stands whole in
// memory, and an element costs no allocation once the frames have grown. The
// order is that of a walk of the finished tree: depth first, parent before
// children, document order.
struct SVG::Walk {
    // An open element, with its own copy of its parent's matrix and inherited
    // map, which its conversion may change for its children.
    struct Frame {
        enum class State { Waiting, Converted, Hidden };

        xmlNode element;
        std::vector<xmlAttr> attributes;
        std::vector<xmlNode> valueTexts;   // each plain value as the text node holding it
        std::string values;                // the plain values, each ended by a NUL
        std::vector<xmlNode*> valueLists;  // values with references, as libxml2 reads them
        // The first child while no child element has begun: character data
        // (text or CDATA, which grows while more of the same kind follows
        // it) or any other node, held as a comment.
        xmlNode firstChild;
        std::string firstChildContent;
        bool firstChildGrows = false;
        Matrix ctm = Matrix::identity();
        AttributeMap inherited;
        State state = State::Waiting;
    };

    SVG& svg;
    xmlParserCtxtPtr context;
    ParseFailure failure;
    std::deque<Frame> frames;  // a deque: a frame stays where it is while others are added
    std::size_t depth = 0;     // frames[0 .. depth) are the open elements, root first

    static Walk* of(void* userData);
    static void recordFirstFatalError(void* userData, ErrorReport error);
    static void startElement(void* userData, const xmlChar* localName, const xmlChar* prefix,
                             const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                             int attributeCount, int defaultedCount, const xmlChar** attributes);
    static void endElement(void* userData, const xmlChar* localName, const xmlChar* prefix,
                           const xmlChar* uri);
    static void characters(void* userData, const xmlChar* text, int length);
    static void characterDataSection(void* userData, const xmlChar* text, int length);
    static void reference(void* userData, const xmlChar* name);
    static void comment(void* userData, const xmlChar* text);
    static void processingInstruction(void* userData, const xmlChar* target, const xmlChar* data);
    void handleOn(xmlParserCtxtPtr parser);

    Frame& openFrame();
    void readAttributes(Frame& frame, int count, const xmlChar** attributes);
    void enter(const xmlChar* name, int attributeCount, const xmlChar** attributes);
    void leave();
    void addCharacterData(xmlElementType type, const xmlChar* text, int length);
    void addOtherNode();
    void convertWaiting(Frame& frame, xmlNode* childElement);
    void release(Frame& frame);
};

// The walk of a parse, or null for a parse that libxml2 runs on its own: the
// content of an entity is parsed with a context of its own, which shares the
// handlers but must build the entity's nodes as libxml2 does.
SVG::Walk* SVG::Walk::of(void* userData) {
    auto* context = static_cast<xmlParserCtxtPtr>(userData);
    auto* walk = static_cast<Walk*>(context->_private);
    return walk != nullptr && walk->context == context ? walk : nullptr;
}

void SVG::Walk::recordFirstFatalError(void* userData, ErrorReport error) {
    auto* walk = static_cast<Walk*>(static_cast<xmlParserCtxtPtr>(userData)->_private);
    if (walk == nullptr || walk->failure.recorded || error == nullptr ||
        error->level != XML_ERR_FATAL)
        return;
    walk->failure.recorded = true;
    walk->failure.line = error->line;
    walk->failure.message = error->message != nullptr ? error->message : "";
}

void SVG::Walk::startElement(void* userData, const xmlChar* localName, const xmlChar* prefix,
                             const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                             int attributeCount, int defaultedCount, const xmlChar** attributes) {
    Walk* walk = of(userData);
    if (walk == nullptr) {
        xmlSAX2StartElementNs(userData, localName, prefix, uri, namespaceCount, namespaces,
                              attributeCount, defaultedCount, attributes);
        return;
    }
    // The tree holds attributes defaulted by the DTD only when asked to.
    if ((walk->context->loadsubset & XML_COMPLETE_ATTRS) == 0) attributeCount -= defaultedCount;
    walk->enter(treeName(walk->context, localName, prefix, uri), attributeCount, attributes);
}

void SVG::Walk::endElement(void* userData, const xmlChar* localName, const xmlChar* prefix,
                           const xmlChar* uri) {
    if (Walk* walk = of(userData))
        walk->leave();
    else
        xmlSAX2EndElementNs(userData, localName, prefix, uri);
}

void SVG::Walk::characters(void* userData, const xmlChar* text, int length) {
    if (Walk* walk = of(userData))
        walk->addCharacterData(XML_TEXT_NODE, text, length);
    else
        xmlSAX2Characters(userData, text, length);
}

void SVG::Walk::characterDataSection(void* userData, const xmlChar* text, int length) {
    if (Walk* walk = of(userData))
        walk->addCharacterData(XML_CDATA_SECTION_NODE, text, length);
    else
        xmlSAX2CDataBlock(userData, text, length);
}

void SVG::Walk::reference(void* userData, const xmlChar* name) {
    if (Walk* walk = of(userData))
        walk->addOtherNode();
    else
        xmlSAX2Reference(userData, name);
}

void SVG::Walk::comment(void* userData, const xmlChar* text) {
    if (Walk* walk = of(userData))
        walk->addOtherNode();
    else
        xmlSAX2Comment(userData, text);
}

void SVG::Walk::processingInstruction(void* userData, const xmlChar* target,
                                      const xmlChar* data) {
    if (Walk* walk = of(userData))
        walk->addOtherNode();
    else
        xmlSAX2ProcessingInstruction(userData, target, data);
}

// Takes over the content handlers of the parser. White space goes the way of
// other text, as libxml2's own tree builder has it.
void SVG::Walk::handleOn(xmlParserCtxtPtr parser) {
    parser->_private = this;
    xmlSAXHandler* handler = parser->sax;
    handler->serror = recordFirstFatalError;
    handler->startElementNs = startElement;
    handler->endElementNs = endElement;
    handler->characters = characters;
    handler->ignorableWhitespace = characters;
    handler->cdataBlock = characterDataSection;
    handler->reference = reference;
    handler->comment = comment;
    handler->processingInstruction = processingInstruction;
}

SVG::Walk::Frame& SVG::Walk::openFrame() {
    if (depth == frames.size()) frames.emplace_back();
    Frame& frame = frames[depth];
    frame.element = xmlNode();
    frame.element.type = XML_ELEMENT_NODE;
    frame.element.doc = context->myDoc;
    frame.firstChild = xmlNode();
    frame.firstChildContent.clear();
    frame.firstChildGrows = false;
    return frame;
}

// The attributes as libxml2's tree holds them: in document order, each value
// a single text node, except that a value with references (which the parser
// leaves unreplaced, and then hands over as a text of its own ending in a
// NUL) becomes the node list libxml2 makes of it.
void SVG::Walk::readAttributes(Frame& frame, int count, const xmlChar** attributes) {
    const std::size_t total = count > 0 ? static_cast<std::size_t>(count) : 0;
    frame.attributes.assign(total, xmlAttr());
    frame.valueTexts.assign(total, xmlNode());
    // Room for every value first: the text nodes point into it as it fills.
    std::size_t room = 0;
    for (std::size_t i = 0; i < total; ++i)
        room += static_cast<std::size_t>(attributes[5 * i + 4] - attributes[5 * i + 3]) + 1;
    frame.values.clear();
    frame.values.reserve(room);
    for (std::size_t i = 0; i < total; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        const auto* value = reinterpret_cast<const char*>(attribute[3]);
        const auto length = static_cast<std::size_t>(attribute[4] - attribute[3]);
        xmlAttr& node = frame.attributes[i];
        node.type = XML_ATTRIBUTE_NODE;
        node.name = treeName(context, attribute[0], attribute[1], attribute[2]);
        node.doc = context->myDoc;
        node.next = i + 1 < total ? &frame.attributes[i + 1] : nullptr;
        if (*attribute[4] == '\0' && std::memchr(value, '&', length) != nullptr) {
            node.children = xmlStringLenGetNodeList(context->myDoc, attribute[3],
                                                    static_cast<int>(length));
            frame.valueLists.push_back(node.children);
            continue;
        }
        xmlNode& text = frame.valueTexts[i];
        text.type = XML_TEXT_NODE;
        text.content = reinterpret_cast<xmlChar*>(frame.values.data() + frame.values.size());
        frame.values.append(value, length);
        frame.values.push_back('\0');
        node.children = &text;
    }
    frame.element.properties = total > 0 ? &frame.attributes[0] : nullptr;
}

// A new element begins: its parent has now read all it needs (its attributes
// and its first child), so it is converted before the element itself.
void SVG::Walk::enter(const xmlChar* name, int attributeCount, const xmlChar** attributes) {
    Frame& frame = openFrame();
    frame.element.name = name;
    frame.state = Frame::State::Waiting;
    if (depth > 0) {
        Frame& parent = frames[depth - 1];
        convertWaiting(parent, &frame.element);
        parent.firstChildGrows = false;
        if (parent.state == Frame::State::Hidden) {
            frame.state = Frame::State::Hidden;
        } else {
            frame.ctm = parent.ctm;
            frame.inherited = parent.inherited;
        }
    } else {
        frame.ctm = Matrix::identity();
        frame.inherited.clear();
    }
    if (frame.state != Frame::State::Hidden) readAttributes(frame, attributeCount, attributes);
    ++depth;
}

// An element ends: converted now if no child element came first.
void SVG::Walk::leave() {
    if (depth == 0) return;
    Frame& frame = frames[depth - 1];
    convertWaiting(frame, nullptr);
    release(frame);
    --depth;
}

// Text and CDATA sections: the first child while nothing else came first,
// and growing while more of its kind follows, as libxml2 merges them.
void SVG::Walk::addCharacterData(xmlElementType type, const xmlChar* text, int length) {
    if (depth == 0) return;
    Frame& frame = frames[depth - 1];
    if (frame.state != Frame::State::Waiting) return;
    const bool first = frame.firstChild.type == 0;
    if (first || (frame.firstChildGrows && frame.firstChild.type == type)) {
        frame.firstChild.type = type;
        frame.firstChildContent.append(reinterpret_cast<const char*>(text),
                                       static_cast<std::size_t>(length));
        frame.firstChildGrows = true;
    } else {
        frame.firstChildGrows = false;
    }
}

void SVG::Walk::addOtherNode() {
    if (depth == 0) return;
    Frame& frame = frames[depth - 1];
    if (frame.firstChild.type == 0) frame.firstChild.type = XML_COMMENT_NODE;
    frame.firstChildGrows = false;
}

// Converts a waiting element, its children being what was read of them: the
// first child, and `childElement` when an element child has begun.
void SVG::Walk::convertWaiting(Frame& frame, xmlNode* childElement) {
    if (frame.state != Frame::State::Waiting) return;
    xmlNode* first = childElement;
    if (frame.firstChild.type != 0) {
        frame.firstChild.content = reinterpret_cast<xmlChar*>(frame.firstChildContent.data());
        frame.firstChild.next = childElement;
        first = &frame.firstChild;
    }
    frame.element.children = first;
    const bool drawn = svg.convertElement(&frame.element, frame.ctm, frame.inherited) == 0;
    frame.state = drawn ? Frame::State::Converted : Frame::State::Hidden;
    frame.element.children = nullptr;
}

// Parsed styles are found by the address of their text, which the next
// element in this frame will reuse, so the element's own style is forgotten.
void SVG::Walk::release(Frame& frame) {
    for (std::size_t i = 0; i < frame.attributes.size(); ++i) {
        if (svg.attributeName(frame.attributes[i].name) == "style")
            svg.parsedStyles.erase(reinterpret_cast<const char*>(frame.valueTexts[i].content));
    }
    for (xmlNode* list : frame.valueLists) xmlFreeNodeList(list);
    frame.valueLists.clear();
    frame.valueTexts.clear();
    frame.attributes.clear();
}

SVG::SVG(Orvane::Slide& slide)
    : slide(slide), kappa(static_cast<float>(4.0 / 3.0 * (std::sqrt(2.0) - 1.0))) {
    initializeColors();
}

SVG::~SVG() = default;

int SVG::convert(const char* path) {
    xmlCheckVersion(LIBXML_VERSION);
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        std::printf("error: could not parse file %s\n", path);
        return 1;
    }
    Walk walk{*this, context, ParseFailure(), {}};
    walk.handleOn(context);
    // Entities stay unsubstituted and no external DTD or entity is loaded:
    // attribute values expand internal entities themselves, within bounds.
    // Without XML_PARSE_HUGE the parser refuses nesting deeper than 256
    // levels, which bounds the walk's frames.
    xmlDocPtr document = xmlCtxtReadFile(context, path, nullptr,
                                         XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    int result = 0;
    if (document == nullptr) {
        reportParseError(path, context, walk.failure);
        std::printf("error: could not parse file %s\n", path);
        result = 1;
    }
    while (walk.depth > 0) walk.release(walk.frames[--walk.depth]);
    parsedStyles.clear();
    loweredNames.clear();
    expandedValues.clear();
    expandedSize = 0;
    xmlFreeDoc(document);
    xmlFreeParserCtxt(context);
    return result;
}

}  // namespace Pictavo
