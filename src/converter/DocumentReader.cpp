#include "converter/DocumentReader.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlmemory.h>
#include <libxml/xmlversion.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <unordered_map>

#include "converter/ElementValues.h"

namespace Pictavo {

namespace {

#if LIBXML_VERSION >= 21200
using ErrorReport = const xmlError*;
#else
using ErrorReport = xmlError*;
#endif

// Entities may nest and repeat ("billion laughs"): the expansion of attribute
// values stops at this nesting depth and, over the whole document, at this
// many bytes. libxml2 already refuses documents whose entities amplify
// wildly; these bounds hold whatever it accepts.
const int maximumEntityDepth = 32;
const std::size_t expansionLimit = std::size_t(1) << 22;

void appendBounded(std::string& text, const xmlChar* content, std::size_t& budget) {
    if (content == nullptr) return;
    std::size_t length = std::min(std::strlen(reinterpret_cast<const char*>(content)), budget);
    text.append(reinterpret_cast<const char*>(content), length);
    budget -= length;
}

void appendNodeText(const xmlNode* node, int depth, std::string& text, std::size_t& budget) {
    for (; node != nullptr && budget > 0; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            appendBounded(text, node->content, budget);
        } else if (node->type == XML_ENTITY_REF_NODE && depth < maximumEntityDepth) {
            // Only internal entities are expanded: external ones are never loaded.
            const xmlEntity* entity = xmlGetDocEntity(node->doc, node->name);
            if (entity == nullptr) continue;
            if (entity->etype == XML_INTERNAL_GENERAL_ENTITY)
                appendNodeText(entity->children, depth + 1, text, budget);
            else if (entity->etype == XML_INTERNAL_PREDEFINED_ENTITY)
                appendBounded(text, entity->content, budget);
        }
    }
}

// The name libxml2 gives an element or attribute in its tree: the local name,
// or prefix:name when the prefix is not declared.
const xmlChar* treeName(xmlParserCtxtPtr context, const xmlChar* localName, const xmlChar* prefix,
                        const xmlChar* uri) {
    if (prefix == nullptr || uri != nullptr) return localName;
    const xmlChar* qualified = xmlDictQLookup(context->dict, prefix, localName);
    return qualified != nullptr ? qualified : localName;
}

// The first fatal error, kept so the user learns where the file broke, not
// where the parser gave up after it (libxml2 itself reports nothing).
struct ParseFailure {
    bool recorded = false;
    int line = 0;
    std::string message;
};

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

// libxml2 reports most allocations that fail in the parser's context, but
// not all: a file whose input buffer cannot be allocated reads as a file that
// cannot be loaded. Its allocator is watched while a document is read.
class AllocationWatch {
public:
    AllocationWatch() {
        xmlMemGet(&release, &allocate, &reallocate, &duplicate);
        failed = false;
        xmlMemSetup(release, watchedAllocate, watchedReallocate, watchedDuplicate);
    }
    ~AllocationWatch() { xmlMemSetup(release, allocate, reallocate, duplicate); }
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    static bool failed;

private:
    static xmlFreeFunc release;
    static xmlMallocFunc allocate;
    static xmlReallocFunc reallocate;
    static xmlStrdupFunc duplicate;

    template <typename Result>
    static Result watched(Result result) {
        if (result == nullptr) failed = true;
        return result;
    }
    static void* watchedAllocate(std::size_t size) { return watched(allocate(size)); }
    static void* watchedReallocate(void* memory, std::size_t size) {
        return watched(reallocate(memory, size));
    }
    static char* watchedDuplicate(const char* text) { return watched(duplicate(text)); }
};

bool AllocationWatch::failed = false;
xmlFreeFunc AllocationWatch::release = nullptr;
xmlMallocFunc AllocationWatch::allocate = nullptr;
xmlReallocFunc AllocationWatch::reallocate = nullptr;
xmlStrdupFunc AllocationWatch::duplicate = nullptr;

// Builds the document from libxml2's SAX2 events. An exception (memory
// running out) must not pass through libxml2's C frames: it is kept, the
// parser stopped, and thrown again once the parse has returned.
class Reader {
public:
    Reader(Document& document, xmlParserCtxtPtr context) : document(document), context(context) {}

    void handleOn(xmlParserCtxtPtr parser);
    bool failed() const { return static_cast<bool>(failure); }
    void rethrowFailure() const {
        if (failure) std::rethrow_exception(failure);
    }
    const ParseFailure& parseFailure() const { return firstFatal; }

private:
    Document& document;
    xmlParserCtxtPtr context;
    ParseFailure firstFatal;
    std::exception_ptr failure;
    Element* current = nullptr;       // the open element, null outside the root
    Element* keepingFrom = nullptr;   // the outermost open element whose character data is kept
    std::string pendingData;          // character data not yet placed in the document
    std::size_t expandedSize = 0;     // bytes of entity expansion so far
    std::unordered_map<const xmlChar*, Name> namesSeen;  // by libxml2's interned name

    static Reader* of(void* userData);
    template <typename Step>
    void guarded(Step step);

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

    Name nameOf(const xmlChar* name);
    void enter(const xmlChar* name, int attributeCount, const xmlChar** attributes);
    void leave();
    void readAttributes(Element& element, int count, const xmlChar** attributes);
    std::string_view keptValue(const xmlChar* start, const xmlChar* end);
    void addCharacterData(const xmlChar* text, int length);
    void placePendingData();
};

// The reader of a parse, or null for a parse that libxml2 runs on its own:
// the content of an entity is parsed with a context of its own, which shares
// the handlers but must build the entity's nodes as libxml2 does. Elements in
// an entity's text thus belong to the entity, not to the drawing.
Reader* Reader::of(void* userData) {
    auto* context = static_cast<xmlParserCtxtPtr>(userData);
    auto* reader = static_cast<Reader*>(context->_private);
    return reader != nullptr && reader->context == context ? reader : nullptr;
}

template <typename Step>
void Reader::guarded(Step step) {
    if (failure) return;
    try {
        step();
    } catch (...) {
        failure = std::current_exception();
        xmlStopParser(context);
    }
}

void Reader::recordFirstFatalError(void* userData, ErrorReport error) {
    auto* reader = static_cast<Reader*>(static_cast<xmlParserCtxtPtr>(userData)->_private);
    if (reader == nullptr || reader->firstFatal.recorded || error == nullptr ||
        error->level != XML_ERR_FATAL)
        return;
    reader->guarded([&] {
        reader->firstFatal.recorded = true;
        reader->firstFatal.line = error->line;
        reader->firstFatal.message = error->message != nullptr ? error->message : "";
    });
}

void Reader::startElement(void* userData, const xmlChar* localName, const xmlChar* prefix,
                          const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                          int attributeCount, int defaultedCount, const xmlChar** attributes) {
    Reader* reader = of(userData);
    if (reader == nullptr) {
        xmlSAX2StartElementNs(userData, localName, prefix, uri, namespaceCount, namespaces,
                              attributeCount, defaultedCount, attributes);
        return;
    }
    // Attributes defaulted by the DTD count only when asked for, as in libxml2's tree.
    if ((reader->context->loadsubset & XML_COMPLETE_ATTRS) == 0) attributeCount -= defaultedCount;
    reader->guarded([&] {
        reader->enter(treeName(reader->context, localName, prefix, uri), attributeCount, attributes);
    });
}

void Reader::endElement(void* userData, const xmlChar* localName, const xmlChar* prefix,
                        const xmlChar* uri) {
    if (Reader* reader = of(userData))
        reader->guarded([&] { reader->leave(); });
    else
        xmlSAX2EndElementNs(userData, localName, prefix, uri);
}

void Reader::characters(void* userData, const xmlChar* text, int length) {
    if (Reader* reader = of(userData))
        reader->guarded([&] { reader->addCharacterData(text, length); });
    else
        xmlSAX2Characters(userData, text, length);
}

void Reader::characterDataSection(void* userData, const xmlChar* text, int length) {
    if (Reader* reader = of(userData))
        reader->guarded([&] { reader->addCharacterData(text, length); });
    else
        xmlSAX2CDataBlock(userData, text, length);
}

// References, comments and processing instructions are not kept, but they
// end the character data before them, as they end a text node in libxml2's
// tree.
void Reader::reference(void* userData, const xmlChar* name) {
    if (Reader* reader = of(userData))
        reader->guarded([&] { reader->placePendingData(); });
    else
        xmlSAX2Reference(userData, name);
}

void Reader::comment(void* userData, const xmlChar* text) {
    if (Reader* reader = of(userData))
        reader->guarded([&] { reader->placePendingData(); });
    else
        xmlSAX2Comment(userData, text);
}

void Reader::processingInstruction(void* userData, const xmlChar* target, const xmlChar* data) {
    if (Reader* reader = of(userData))
        reader->guarded([&] { reader->placePendingData(); });
    else
        xmlSAX2ProcessingInstruction(userData, target, data);
}

void Reader::handleOn(xmlParserCtxtPtr parser) {
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

// libxml2 hands every name as one interned pointer, so each distinct name is
// lowered and numbered once.
Name Reader::nameOf(const xmlChar* name) {
    auto seen = namesSeen.find(name);
    if (seen != namesSeen.end()) return seen->second;
    // Names are matched without regard to case.
    const Name number = document.intern(lowered(reinterpret_cast<const char*>(name)));
    namesSeen.emplace(name, number);
    return number;
}

void Reader::enter(const xmlChar* name, int attributeCount, const xmlChar** attributes) {
    placePendingData();
    Element* element = document.addElement(current, nameOf(name));
    readAttributes(*element, attributeCount, attributes);
    document.indexId(*element);
    const bool keepsCharacterData = element->name == Name::Text || element->name == Name::Style;
    if (keepingFrom == nullptr && keepsCharacterData) keepingFrom = element;
    current = element;
}

void Reader::leave() {
    if (current == nullptr) return;
    placePendingData();
    if (keepingFrom == current) keepingFrom = nullptr;
    current = current->parent;
}

void Reader::readAttributes(Element& element, int count, const xmlChar** attributes) {
    const std::size_t total = count > 0 ? static_cast<std::size_t>(count) : 0;
    Attribute* placed = document.addAttributes(total);
    for (std::size_t i = 0; i < total; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        const std::string_view value = keptValue(attribute[3], attribute[4]);
        placed[i].value = value.data();
        placed[i].length = static_cast<std::uint32_t>(std::min<std::size_t>(value.size(), UINT32_MAX));
        placed[i].name = nameOf(treeName(context, attribute[0], attribute[1], attribute[2]));
    }
    element.attributes = placed;
    element.attributeCount = static_cast<std::uint32_t>(total);
}

// The value placed in the document. A value with references arrives
// unreplaced, as a text of its own ending in a NUL; its internal entities are
// expanded here, within the bounds.
std::string_view Reader::keptValue(const xmlChar* start, const xmlChar* end) {
    const auto* value = reinterpret_cast<const char*>(start);
    const auto length = static_cast<std::size_t>(end - start);
    if (*end != '\0' || std::memchr(value, '&', length) == nullptr)
        return {document.keep({value, length}), length};
    xmlNodePtr nodes = xmlStringLenGetNodeList(context->myDoc, start, static_cast<int>(length));
    std::size_t budget = expansionLimit - expandedSize;
    std::string text;
    appendNodeText(nodes, 0, text, budget);
    xmlFreeNodeList(nodes);
    expandedSize = expansionLimit - budget;
    return {document.keep(text), text.size()};
}

void Reader::addCharacterData(const xmlChar* text, int length) {
    if (keepingFrom == nullptr || current == nullptr) return;
    pendingData.append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
}

void Reader::placePendingData() {
    if (pendingData.empty()) return;
    Element* data = document.addElement(current, Name::CharacterData);
    data->data = std::string_view(document.keep(pendingData), pendingData.size());
    pendingData.clear();
}

}  // namespace

bool readDocument(const char* path, Document& document) {
    xmlCheckVersion(LIBXML_VERSION);
    AllocationWatch watch;
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) throw std::bad_alloc();
    Reader reader(document, context);
    reader.handleOn(context);
    // Entities stay unsubstituted and no external DTD or entity is loaded:
    // attribute values expand internal entities themselves, within bounds.
    // Without XML_PARSE_HUGE the parser refuses nesting deeper than 256
    // levels, which bounds the depth of the document.
    xmlDocPtr parsed = xmlCtxtReadFile(context, path, nullptr,
                                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const bool outOfMemory = context->errNo == XML_ERR_NO_MEMORY || AllocationWatch::failed;
    // Any error that stopped the parser fails the whole parse: the document
    // would hold only part of the drawing.
    const bool complete = parsed != nullptr && context->wellFormed && context->disableSAX == 0;
    if (!complete && !outOfMemory && !reader.failed()) reportParseError(path, context, reader.parseFailure());
    xmlFreeDoc(parsed);
    xmlFreeParserCtxt(context);
    reader.rethrowFailure();
    if (outOfMemory) throw std::bad_alloc();
    return complete;
}

}  // namespace Pictavo
