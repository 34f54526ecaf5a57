// The bash completion of tagwright-cli, written from the option table at build time.

#include <string>

#include "cli_options.h"

namespace tagwright::cli {

namespace {

// "-j | --jobs": the names of an option as a bash case pattern.
std::string Pattern(const OptionRow& row) {
  std::string pattern;
  if (row.letter != 0) pattern = std::string("-") + row.letter + " | ";
  return pattern += row.name;
}

// The words offered for the value of `row`, as bash text inside double quotes.
std::string ValueWords(const OptionRow& row) {
  if (!row.completion.empty()) return std::string(row.completion);
  if (row.arg == OptionArg::Choice) return std::string(row.words);
  std::string words;
  if (row.arg == OptionArg::Number) {
    for (int n = row.range.first; n <= row.range.last; ++n) {
      words += (words.empty() ? "" : " ") + std::to_string(n);
    }
  }
  return words;
}

constexpr const char* kScript =
    R"(# bash completion for tagwright-cli                                   -*- shell-script -*-
# Completes the commands, the options and their fixed values, and pages (.htm, .html) and
# folders as files. Needs nothing but bash. Made from tagwright-cli's option table when it is
# built: do not edit.

_tagwright_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()

  # The value of the option before, when it takes one.
  case $prev in
@VALUES@  esac

  # The command is the first word that is neither an option nor an option's value; after
  # "--" every word is a page.
  local command= word i ended=
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if [[ -n $ended ]]; then
      continue
    fi
    case $word in
      --) ended=1 ;;
      @WITH_VALUE@)
        ((i++)) ;;
      -*) ;;
      *) [[ -z $command ]] && command=$word ;;
    esac
  done

  if [[ -z $ended && $cur == -* ]]; then
    local options='@OPTIONS@ --'
    if [[ $command == apply ]]; then
      options+=' @APPLY_OPTIONS@'
    elif [[ $command == report ]]; then
      options+=' @REPORT_OPTIONS@'
    fi
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
    return
  fi

  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W 'list generate existing apply report' -- "$cur"))
    return
  fi

  # Pages in any case of .htm or .html, and folders to go into (or to search with -r).
  local extglob
  extglob=$(shopt -p extglob)
  shopt -s extglob
  local IFS=$'\n'
  COMPREPLY=($(compgen -d -- "$cur")
    $(compgen -f -X '!*.@([hH][tT][mM]|[hH][tT][mM][lL])' -- "$cur"))
  eval "$extglob"
  compopt -o filenames 2>/dev/null
}
complete -F _tagwright_cli tagwright-cli
)";

void Replace(std::string& text, const std::string& mark, const std::string& by) {
  text.replace(text.find(mark), mark.size(), by);
}

}  // namespace

std::string BashCompletion() {
  std::string values;
  std::string withValue;
  std::string options;
  std::string applyOptions;
  std::string reportOptions;
  for (const OptionRow& row : OptionTable()) {
    std::string& list = row.applyOnly ? applyOptions : row.reportOnly ? reportOptions : options;
    if (row.letter != 0) list += std::string(list.empty() ? "" : " ") + "-" + row.letter;
    list += (list.empty() ? "" : " ") + std::string(row.name);
    if (row.arg == OptionArg::Attached) list += " " + std::string(row.name) + "=";
    if (!row.TakesValue()) continue;
    withValue += (withValue.empty() ? "" : " | ") + Pattern(row);
    values += "    " + Pattern(row) + ")\n";
    const std::string words = ValueWords(row);
    if (!words.empty()) values += "      COMPREPLY=($(compgen -W \"" + words + "\" -- \"$cur\"))\n";
    if (row.fileValue) {
      values +=
          "      local IFS=$'\\n'\n      COMPREPLY=($(compgen -f -- \"$cur\"))\n"
          "      compopt -o filenames 2>/dev/null\n";
    }
    values += "      return\n      ;;\n";
  }
  std::string script = kScript;
  Replace(script, "@VALUES@", values);
  Replace(script, "@WITH_VALUE@", withValue);
  Replace(script, "@OPTIONS@", options);
  Replace(script, "@APPLY_OPTIONS@", applyOptions);
  Replace(script, "@REPORT_OPTIONS@", reportOptions);
  return script;
}

}  // namespace tagwright::cli
