// The report's and the campaign's pages (XHTML with SVG inside) read in this process as strict XML:
// no network, no external entity, and every complaint of the parser kept for the test to show
// instead of printed.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

namespace jobshop {

class XmlDocument {
 public:
  static XmlDocument fromText(const std::string& text);
  static XmlDocument fromFile(const std::string& path);

  // True when the text parsed as XML without an error or a warning.
  bool wellFormed() const { return document_ != nullptr && errors_.empty(); }
  // The parser's and XPath's complaints, one a line.
  const std::string& errors() const { return errors_; }

  // The string value of an XPath expression (count(...) gives "5", string(...) its text).
  // Element names are matched without their namespace, so that `//svg/rect` and `//table/tr`
  // find the elements of the page's XHTML and SVG alike; "" when the expression fails, with the
  // reason in errors().
  std::string value(const std::string& expression);
  double number(const std::string& expression);
  int count(const std::string& expression);

 private:
  struct Free {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
  };
  XmlDocument(std::unique_ptr<xmlDoc, Free> document, std::string errors);

  std::unique_ptr<xmlDoc, Free> document_;
  std::string errors_;
};

// An HTML fragment (a section, a chart) placed in a page's body and read as above.
XmlDocument xmlOfFragment(const std::string& markup);

}  // namespace jobshop
