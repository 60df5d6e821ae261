#include "xml_document.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>

#include <cstdarg>
#include <cstdio>
#include <limits>
#include <utility>

#include "test_instances.h"

namespace jobshop {

namespace {

void keepStructured(void* errors, xmlError* error) {
  std::string& kept = *static_cast<std::string*>(errors);
  kept += "line " + std::to_string(error->line) + ": ";
  kept += error->message != nullptr ? error->message : "(no message)\n";
}

void keepGeneric(void* errors, const char* format, ...) {
  char message[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  *static_cast<std::string*>(errors) += message;
}

// libxml2 reports through handlers of the calling thread; while one of these lives, what it
// reports goes into errors instead of standard error.
class CollectedErrors {
 public:
  explicit CollectedErrors(std::string& errors) {
    xmlSetStructuredErrorFunc(&errors, keepStructured);
    xmlSetGenericErrorFunc(&errors, keepGeneric);
  }
  CollectedErrors(const CollectedErrors&) = delete;
  CollectedErrors& operator=(const CollectedErrors&) = delete;
  ~CollectedErrors() {
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    xmlSetGenericErrorFunc(nullptr, nullptr);
  }
};

// The page's elements sit in the XHTML and SVG namespaces; without them a plain name in an XPath
// expression matches, as a reader of the page would expect.
void dropNamespaces(xmlNode* node) {
  for (; node != nullptr; node = node->next) {
    if (node->type != XML_ELEMENT_NODE) continue;
    node->ns = nullptr;
    dropNamespaces(node->children);
  }
}

struct FreeXPathContext {
  void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
};
struct FreeXPathObject {
  void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};

}  // namespace

XmlDocument::XmlDocument(std::unique_ptr<xmlDoc, Free> document, std::string errors)
    : document_(std::move(document)), errors_(std::move(errors)) {}

XmlDocument XmlDocument::fromText(const std::string& text) {
  std::string errors;
  std::unique_ptr<xmlDoc, Free> document;
  {
    const CollectedErrors collected(errors);
    // No network, and no DTD loaded nor entity substituted: the page must stand on its own.
    document.reset(xmlReadMemory(text.data(), static_cast<int>(text.size()), "page.xml", nullptr,
                                 XML_PARSE_NONET));
  }
  if (document == nullptr && errors.empty()) errors = "not parsed\n";
  if (document != nullptr) dropNamespaces(xmlDocGetRootElement(document.get()));
  return XmlDocument(std::move(document), std::move(errors));
}

XmlDocument XmlDocument::fromFile(const std::string& path) {
  if (!fileExists(path)) return XmlDocument(nullptr, "no file " + path + "\n");
  return fromText(readFile(path));
}

std::string XmlDocument::value(const std::string& expression) {
  if (document_ == nullptr) return "";
  const CollectedErrors collected(errors_);
  const std::unique_ptr<xmlXPathContext, FreeXPathContext> context(
      xmlXPathNewContext(document_.get()));
  const std::unique_ptr<xmlXPathObject, FreeXPathObject> result(
      xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context.get()));
  if (result == nullptr) return "";
  xmlChar* text = xmlXPathCastToString(result.get());
  std::string value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
  xmlFree(text);
  return value;
}

double XmlDocument::number(const std::string& expression) {
  const std::string text = value("number(" + expression + ")");
  if (text.empty() || text == "NaN") return std::numeric_limits<double>::quiet_NaN();
  return std::stod(text);
}

int XmlDocument::count(const std::string& expression) {
  const std::string counted = value("count(" + expression + ")");
  return counted.empty() ? -1 : std::stoi(counted);
}

XmlDocument xmlOfFragment(const std::string& markup) {
  return XmlDocument::fromText("<html><body>" + markup + "</body></html>");
}

}  // namespace jobshop
