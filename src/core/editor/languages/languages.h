#pragma once
// One factory per language of the catalogue.

#include "editor/highlighter.h"

#include <memory>

namespace tw::languages {

std::unique_ptr<Highlighter> makePascal();  // Object Pascal
std::unique_ptr<Highlighter> makeCpp();  // C/C++
std::unique_ptr<Highlighter> makeFortran();  // Fortran
std::unique_ptr<Highlighter> makeJava();  // Java
std::unique_ptr<Highlighter> makeVisualBasic();  // Visual Basic
std::unique_ptr<Highlighter> makeCobol();  // COBOL
std::unique_ptr<Highlighter> makeCSharp();  // C#
std::unique_ptr<Highlighter> makeCss();  // Cascading Style Sheet
std::unique_ptr<Highlighter> makeHtml();  // HTML
std::unique_ptr<Highlighter> makeJavaScript();  // JavaScript
std::unique_ptr<Highlighter> makePhp();  // PHP
std::unique_ptr<Highlighter> makePerl();  // Perl
std::unique_ptr<Highlighter> makeAsm();  // x86 Assembly
std::unique_ptr<Highlighter> makeVbScript();  // MS VBScript
std::unique_ptr<Highlighter> makeSql();  // SQL

} // namespace tw::languages
