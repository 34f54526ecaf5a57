#include "help/help_text.h"

#include <QUrl>

#include <iterator>

#include "help/manual_location.h"

namespace tagwright {

std::string DocumentationAddress() {
  return QUrl::fromLocalFile(ManualPath()).toString(QUrl::FullyEncoded).toStdString();
}

std::string HomePageAddress() {
  QUrl address = QUrl::fromLocalFile(ManualPath());
  address.setFragment(QStringLiteral("top"));
  return address.toString(QUrl::FullyEncoded).toStdString();
}

std::string HelpText() {
  // One entry per line of the text box; "" is an empty line between sections.
  const std::string lines[] = {
      "An illustrated verson of this documentation can be found at " + DocumentationAddress() +
          ".  This help window may be resized for easier reading.",
      "",
      "This program generates keywords meta tags.  "
      "It works basically by counting the number of occurrences of words "
      "in your HTML document and building the keywords meta tag from the "
      "most-frequently used words (ignoring common words such as 'the' and 'which').  "
      "It does not, however, just use word frequencies, but assigns more (or less) "
      "importance to words which occur:",
      "",
      "(a) in the title, <TITLE>...</TITLE>",
      R"((b) in the description, <META NAME="description" CONTENT="...">)",
      R"((c) among existing keywords, <META NAME="keywords" CONTENT="...">)",
      "(d) in a heading, e.g., <H4>...</H4>",
      "(e) in a table, <TABLE>...</TABLE> and",
      "(f) in boldface, <B>...</B>",
      "",
      // One line of the text, split to fit, like the longer ones below.
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
      "You can control the amount of weight given to words occurring in these contexts, as "
      "follows:",
      "",
      "Words in boldface can be given a weight of 1 to 9. The weight is added to that of every "
      "occurrence in boldface: a word in ordinary text counts 3, so with a weight of 5 a word in "
      "boldface counts 8. Set this to 1 to give bold words the least extra weight.",
      "",
      "Words in a table can be given a weight of 0 to 9. Set this to 0 if words within tables are "
      "to be ignored.",
      "",
      "Words in a heading are given an extra weight by the type of heading, from 6 for <H1> "
      "down to 1 for <H6>, e.g., words in <H4>...</H4> get an extra weight of 3.",
      "",
      "Existing keywords (those in a keywords meta tag already existing in the document) can be "
      "given a weight of 0 to 9. Set this to 0 if existing keywords are to be ignored.",
      "",
      "Modern markup can be ticked to read the page as it is written today: headings, bold and "
      "title tags with attributes, e.g., <H2 CLASS=...>, count like the plain tags and <STRONG> "
      "counts as boldface; hidden text and navigation are skipped; the common words of the "
      "page's language are ignored as well; and letters of every script make words.",
      "",
      "The input file (which must have a .htm or a .html extension) is selected (by clicking on "
      "'Input file') in the usual way:",
      "",
      "If the document already has a keywords meta tag then you can display it by clicking on "
      "'Show existing keywords'.",
      "",
      "You can tell the program to ignore short words, i.e., words with a specified number of "
      "letters (such as 3) or less. You can also tell the program to ignore common words, e.g., "
      "'this' and 'into' (this is the default option and should always be used).  "
      "You can require that only words which occur a specified minimum number of times should "
      "be considered for inclusion in the keywords meta tag. And you can specify the maximum "
      "number of keywords in the meta tag and the maximum length in bytes of the meta tag.",
      "",
      "After you have specified the input file and the controlling parameters you can either:",
      "(i)click on 'List words' to get a list of the words satisfying the selection criteria, "
      "together with their keyword value and frequency or",
      "(ii) click on 'Generate keywords meta tag' to get the meta tag.",
      "",
      "If you want some words to be included as phrases you can type them into the 'Begin meta "
      "tag with' textbox, then pressing 'Generate keywords meta tag' gives the revised meta tag:",
      "",
      "You can edit the keywords directly, then copy the keywords meta tag to the clipboard and "
      "paste it into the header section of your HTML document.",
      "",
  };
  std::string text = lines[0];
  for (std::size_t i = 1; i < std::size(lines); ++i) text += "\r\n" + lines[i];
  return text;
}

}  // namespace tagwright
