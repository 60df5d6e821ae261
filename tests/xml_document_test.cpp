// The page reader the report's and the campaign's tests rely on: a page that is not well-formed
// must fail them, quietly, and the page's namespaces must not hide its elements from XPath.
#include "xml_document.h"

#include <gtest/gtest.h>

#include <cmath>

namespace jobshop {

TEST(XmlDocument, NamespacedPagesAnswerXPathByPlainNames) {
  XmlDocument page = XmlDocument::fromText(
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p class=\"a\">x "
      "\xE2\x89\xA4 4</p><svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 5\"><text "
      "x=\"2.5\">t</text><text x=\"7\">u</text></svg></body></html>");
  EXPECT_TRUE(page.wellFormed()) << page.errors();
  EXPECT_EQ(page.value("string(//p[@class=\"a\"])"), "x \xE2\x89\xA4 4");  // UTF-8 as written
  EXPECT_EQ(page.count("//svg/text"), 2);
  EXPECT_EQ(page.value("string(//svg/@viewBox)"), "0 0 10 5");
  EXPECT_DOUBLE_EQ(page.number("(//text)[1]/@x"), 2.5);
  EXPECT_TRUE(std::isnan(page.number("//text[@y]/@y")));
  EXPECT_EQ(page.count("//missing"), 0);
}

TEST(XmlDocument, ErrorsAreKeptNotPrintedAndNothingOutsideIsRead) {
  testing::internal::CaptureStderr();
  XmlDocument unclosed = XmlDocument::fromText("<html><body><p>open</body></html>");
  XmlDocument entity = xmlOfFragment("<p>a&nbsp;b</p>");
  XmlDocument external = XmlDocument::fromText(
      "<!DOCTYPE html [<!ENTITY secret SYSTEM \"file:///etc/hostname\">]><html>&secret;</html>");
  XmlDocument badXPath = XmlDocument::fromText("<html/>");
  EXPECT_EQ(badXPath.value("count(//p["), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  EXPECT_FALSE(unclosed.wellFormed());
  EXPECT_NE(unclosed.errors().find("line 1"), std::string::npos) << unclosed.errors();
  EXPECT_FALSE(entity.wellFormed()) << "HTML's named entities are not XML's";
  EXPECT_EQ(external.value("string(/html)"), "") << "the external entity is not substituted";
  EXPECT_FALSE(badXPath.wellFormed()) << "an expression that fails is kept as an error";
  EXPECT_FALSE(XmlDocument::fromFile("/nonexistent/page.html").wellFormed());
}

}  // namespace jobshop
