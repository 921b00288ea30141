// The help topics: contents, using help, the working pages and the source
// language; the command and message topics come from their own files.
#include <algorithm>
#include <string>
#include <vector>

#include "Help.h"

void AddCommandHelpTopics(std::vector<THelpTopic>& topics);
void AddMessageHelpTopics(std::vector<THelpTopic>& topics);

namespace {

const THelpTopic GeneralTopics[] = {
    {HelpContentsContext, "Tarnex Help Contents", "contents;help;overview",
     R"~(The Tarnex Meta-Assembler translates assembly source for any processor that a CPU table describes. In this workbench you edit the sources, choose the main file, assemble it with F9 and step through the assembler's messages.

## Working with the workbench
- [[40]]
- [[41]]

## The menus
- [[10]]
- [[11]]
- [[12]]
- [[13]]
- [[14]]
- [[15]]
- [[16]]

## The assembler
- [[20]]
- [[30]]

New to this help? Read [[2]].)~"},

    {HelpUsingContext, "Using Help", "using help;help window;index;links;Back",
     R"~(The help window has two pages on the left, Contents and Index, and shows the topic on the right.

- Contents lists the chapters of the help and their topics; click one to show it.
- Index lists keywords in alphabetical order. Type a word, or its first letters, into the field above the list: the list keeps the keywords that contain the text and selects the best match. Press Enter, double click or press Display to show the topic. The arrow keys move through the list while you type.
- Underlined words in a topic are links: click one to go to that topic.
- Back returns to the topic shown before.

Help can also be had on the spot: F1 opens the contents; Ctrl+F1 shows the help of the assembler message in the status bar, or lets you pick a command to get help on (see [[2004]]). Pressing F1 while a menu item is highlighted shows its help.

The help window stays open beside the workbench until you close it, and closes with the workbench.)~"},

    {40, "Assembling a program", "assembling;getting started;workflow;main file;output files",
     R"~(A typical session:

- Open the sources with [[24332]], or start a new one with [[24331]].
- Choose the main file with [[24382]]: the file that the assembler starts with. It names the CPU table with CPU and may include further files with INCL.
- Press F9, the [[24381]]. All windows are saved, the "Assembling" dialog opens; press its Assemble button.
- When the run reports errors, closing the dialog shows the first message: the file is opened, the faulty character selected, and the message appears in the status bar. Press Ctrl+F1 for its help, correct the line, go on with Alt+F8 ([[24355]]).
- Assemble again until no errors remain. The object file (.HEX) is then ready for the target; the listing (.LST) shows the code of every line.

The main file, the font, the tab size and the open files are kept from one session to the next; see [[24373]].)~"},

    {41, "Keys", "keys;shortcuts;keyboard;accelerators",
     R"~(## Files and windows
- Ctrl+N: [[24331]]
- Ctrl+O: [[24332]]
- Ctrl+S: [[24333]]
- Ctrl+P: [[24337]] (not in this version)
- Ctrl+F4: [[24339]]
- Alt+F4: [[24310]]
- Shift+F5: [[24361]]
- Shift+F4: [[24363]]

## Editing
- Ctrl+Z: [[24321]]
- Ctrl+X: [[24322]]
- Ctrl+C: [[24323]]
- Ctrl+V: [[24324]]
- Del: [[24325]]
- Ctrl+A: [[24326]]

## Searching and assembling
- Ctrl+F: [[24351]]
- Ctrl+H: [[24352]]
- F3: [[24353]]
- F9: [[24381]]
- Alt+F7: [[24354]]
- Alt+F8: [[24355]]

## Help
- F1: [[2001]]
- Ctrl+F1: [[2004]]
- Esc ends contextual help.)~"},

    {30, "Source language overview", "source language;syntax;statements;comments;line format;case",
     R"~(A source file is plain text with one statement on each line:

> LABEL  OPCODE  OPERANDS   ; comment

- The label is optional. It begins in column 1, or ends with a colon.
- The opcode is an instruction of the CPU table, a directive or the name of a macro.
- The operands are expressions or strings in double quotes, separated by commas.
- ";" begins a comment, except inside double quotes. A line may begin with a line number, which is skipped.
- Outside double quotes all letters are read as capitals, unless CASE "ON" is in force.
- Tabs count to the next multiple of 8 columns (another width with TAB); the columns of messages count that way.
- A line holds at most 254 characters; the rest of a longer line is read as the next line.

A small program:

>  CPU "6502.tbl"
>  HOF "INT8"
>  ORG 0800H
> START LDA #0
>  JMP START
>  END START

The chapters:

- [[31]]
- [[32]]
- [[33]]
- [[34]]
- [[35]]
- [[36]])~"},

    {31, "Labels and symbols", "labels;symbols;names;EQU;SETL;local labels",
     R"~(A name begins with a letter, "_", "." or "?" and goes on with letters, digits and those characters. A name in column 1, or followed by a colon, is a label: it takes the address of its line. A directive or instruction in column 1 is therefore read as a label; indent them.

- Labels may be used before they are defined; the assembler resolves them in its second pass.
- `NAME EQU value` defines a constant; giving it another value later is error 32.
- `NAME SETL value` defines a variable, which may change.
- A label defined inside a macro belongs to that expansion only: every expansion has its own copy.
- Defining the same label twice is a phase error, [[132]].
- With CASE "ON" capitals and small letters differ; otherwise they are the same.

The listing ends with the list of all labels and their values.)~"},

    {32, "Expressions", "expressions;operators;numbers;strings;brackets;program counter;$",
     R"~(Values are 32-bit integers. Numbers are decimal (255), hexadecimal (0FFH, 0xFF, $FF), octal (377Q or 0377) or binary (1010B). A string in double quotes stands for the value of its last four characters. $ alone is the address of the current line.

Operators, from the most tightly binding:

- unary + - ! ~ and the names LOW, HIGH, INV (bytes reversed), NOT; brackets { }
- * / %
- + -
- << >>
- < <= > >=
- == !=
- & (and), then ^ (exclusive or), then | (or)
- && (logical and), then || (logical or)

Group with curly brackets: `{2+3}*4` is 20. Parentheses are no operators, because instruction operands use them. A name not yet defined counts as the current address in the first pass; from the second pass on it is error 40. Errors in expressions: [[20]].)~"},

    {33, "Directives", "directives;ORG;DFB;DWL;DWM;DFL;DLL;DFS;END;INCL;HOF;LIST;TITL;PAGE;ALGN;WDLN;FILL;TAB;CASE;ALIAS;DFF",
     R"~(Directives are written in the opcode field like instructions.

- Data: DFB bytes and strings, DWL and DWM 16-bit words (low byte or high byte first), DFL and DLL 32-bit values (high or low byte first), DFF, DFDF and DFLDF floating-point numbers, DFS reserves storage.
- Addresses: ORG sets the program counter; ALGN pads each line's code to a multiple; WDLN sets the bytes per address step.
- Symbols: EQU, SETL, ALIAS (another name for a directive).
- Files: CPU loads the CPU table, INCL includes a source file, END ends the source (with an optional start address).
- Object file: HOF chooses the format ([[36]]), HEX "OFF" and "ON" suppress and resume output, FILL sets the byte that fills gaps.
- Listing: LIST "OFF" and "ON", TITL the page title, PAGE the page length or a new page.
- Reading: CASE "ON" keeps small letters, TAB sets the tab width.
- Conditional assembly, macros and text replacement: [[34]].

String operands must be in double quotes: `HEX "OFF"`.)~"},

    {34, "Conditional assembly and macros", "IF;ELSE;ENDI;MACRO;ENDM;RPTXT;conditional assembly;macros;text replacement",
     R"~(## Conditional blocks
`IF expression` assembles the lines up to ELSE or ENDI only when the value is not 0; ELSE switches to the other part. Blocks nest up to seven deep. IF, ELSE and ENDI take no label.

>  IF DEBUG
>  DFB 1
>  ELSE
>  DFB 0
>  ENDI

## Macros
`NAME MACRO A,B` begins a definition, ENDM ends it; writing NAME with arguments in the opcode field replays the lines with every occurrence of A and B replaced by the arguments. The replacement is purely textual and arguments cannot contain commas.

## Text replacement
`RPTXT "OLD","NEW"` replaces the name OLD by NEW in every following line, where it stands as a whole name.)~"},

    {35, "CPU tables", "CPU table;table file;tbl;instruction set;patterns",
     R"~(The assembler knows no instruction set of its own: the CPU directive names a table file that describes the processor. A table has four sections separated by lines that begin with "*":

- lists of operand names, such as registers: `0,"A","B","C","D"`
- operand fields: number, bit position, width, and the value expression with its range: `1,8,8,#,-128,255`
- sub-patterns, the operand forms: `1,#{1}^0000:`
- instructions: mnemonic and pattern, "^", the code bytes in hexadecimal, ":": `NOP^00:` or `LD|1-2^10:`

In the field expressions "#" stands for the operand's value and $ for the instruction's address. When an instruction has several forms they are tried in the order of the table, and the first that matches the line, operand ranges included, is used. Lines after a fourth "*" line are assembled as source.

Table faults are reported as [[106]].)~"},

    {36, "Object file formats", "object file;HOF;BIN8;INT8;INHX8M;MOT8;BIN16;INT16;MOT16;BIN32;MOT32;Intel hex;S-records;binary",
     R"~(The HOF directive chooses the form of the object file (the .HEX file), with the name in double quotes:

- "INT8": Intel hexadecimal, 16-bit addresses.
- "INHX8M": as INT8 with the bytes of each pair swapped, for 16-bit words stored low byte first.
- "INT16": Intel hexadecimal with extended segment records, 20-bit addresses. This is the format when the source names none.
- "MOT8", "MOT16", "MOT32": Motorola S-records with 16-, 24- and 32-bit addresses.
- "BIN8", "BIN16", "BIN32": a plain binary image from the first address that receives code; gaps are filled with the fill byte (FILL, normally FFH), and addresses must not decrease ([[139]]). The three differ only in the width of the addresses in the listing.

The number also sets how many address digits the listing shows. An unknown name is [[130]].)~"},
};

std::vector<THelpTopic> BuildTopics() {
  std::vector<THelpTopic> topics(std::begin(GeneralTopics), std::end(GeneralTopics));
  AddCommandHelpTopics(topics);
  AddMessageHelpTopics(topics);
  // Contents first; the rest in order of context number, which is also the
  // order FindHelpTopic searches in.
  std::stable_sort(topics.begin() + 1, topics.end(),
                   [](const THelpTopic& a, const THelpTopic& b) { return a.Context < b.Context; });
  return topics;
}

}  // namespace

const std::vector<THelpTopic>& HelpTopics() {
  static const std::vector<THelpTopic> topics = BuildTopics();
  return topics;
}

const THelpTopic* FindHelpTopic(int context) {
  const std::vector<THelpTopic>& topics = HelpTopics();
  if (!topics.empty() && topics.front().Context == context) return &topics.front();
  auto it = std::lower_bound(topics.begin() + 1, topics.end(), context,
                             [](const THelpTopic& t, int c) { return t.Context < c; });
  return it != topics.end() && it->Context == context ? &*it : nullptr;
}
