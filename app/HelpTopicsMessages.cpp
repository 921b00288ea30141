// Help topics of the assembler's messages: context number = error number + 100.
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "Help.h"

void AddMessageHelpTopics(std::vector<THelpTopic>& topics);

namespace {

constexpr int MessageListContext = 20;
constexpr int MessageHelpBase = 100;

enum TKind { NoError, Fatal, Line };

struct TMessageText {
  int Number;
  TKind Kind;
  const char* Keywords;
  const char* Body;
};

const TMessageText Messages[] = {
    {0, NoError, "Not an Error",
     R"~(The number 0 means that a line has no error. The assembler never reports it; an error file that shows it was not written by this assembler, or has been changed since.

Look at the file the message names and at the line it gives, and assemble again to get a fresh error file.)~"},

    // ---- fatal errors
    {1, Fatal, "source file did not open;file not found;INCL;CPU;main file missing",
     R"~(A file the assembler has to read could not be opened: the main file, a file named by INCL, or the CPU table named by CPU. For an INCL or CPU line the message names that line; when the main file itself is missing, it names the main file with line 0.

Typical causes:

- The name is misspelt, or the file has been moved or deleted.
- The name has no folder, and the file is not in the folder the workbench was started from. Names in INCL and CPU are looked up there first, not in the folder of the main file or of the including file.
- The file is locked by another program, or you may not read it.

>  INCL "defs.inc"
>  CPU "z80.tbl"

Check the name, give a full path, or start the workbench in the folder of the sources. When the main file is missing, choose it again with the [[24382]].)~"},
    {2, Fatal, "disk full;directory full;writing files",
     R"~(Writing the listing (.LST), the object file (.HEX) or the error file (.ERR) failed: the disk or the folder is full, a quota is used up, or the drive went away (a network drive, a removable disk).

Free some space, or move the sources to a drive with room, and assemble again. A listing can be large; LIST "OFF" around long parts of the source keeps it short.)~"},
    {3, Fatal, "too many include files;INCL nesting;include depth",
     R"~(Files are nested too deeply: at most four files can be open below the main file at a time. Every INCL opens one more level until the included file ends, and so does the CPU directive while it reads its table.

Typical causes: a file that includes itself, directly or through others; a long chain of files that each include the next; a CPU line deep inside included files.

Include the files one after another from the main file instead of from each other, and put the CPU line into the main file.)~"},
    {4, Fatal, "too many conditional blocks;IF nesting;missing ENDI",
     R"~(More than seven IF blocks are open at the same time. The eighth IF stops the assembly.

Usually an ENDI is missing: every IF needs its own ENDI, and blocks that follow each other without ENDI nest deeper and deeper. An ENDI written in column 1 is taken as a label, not as the directive, and leaves its block open; indent it.

>  IF DEBUG
>  DFB 1
>  ENDI

Check that the IFs and ENDIs pair up; nest at most seven blocks.)~"},
    {5, Fatal, "no source file specified",
     R"~(Means that an assembly was started without a main file. The workbench always asks for the main file first (see [[24382]]), so this version never reports it.)~"},
    {6, Fatal, "illegal CPU table format;CPU table;table file",
     R"~(The CPU table file is not in the form the assembler reads. The message names the table file and the offending line. In the sub-pattern and instruction sections (after the second and third "*" lines) every line must hold the pattern, "^", the code bytes as pairs of hexadecimal digits, and ":".

> NOP^00:
> LD|1-2^10:

Typical causes: a missing "^" or ":"; an odd number of digits or a character that is no hexadecimal digit (small letters count only while CASE is off); more than 255 code bytes; a section separator "*" line too few, so that lines of an earlier section are read as instructions.

Correct the table file and assemble again. See [[35]].)~"},
    {7, Fatal, "hex file did not open;object file;HEX file",
     R"~(The object file (the .HEX file beside the main file) could not be created, so no pass is run.

Typical causes: another program holds the file open (a programmer or simulator that loaded it); the file or its folder is read-only; the disk is full.

Close the program that uses the file, or check the permissions of the folder, and assemble again.)~"},
    {8, Fatal, "list file did not open;listing file;LST file",
     R"~(The listing file (the .LST file beside the main file) could not be created, either before the first pass or when it is written afresh at the start of a later pass.

Typical causes: another program, an editor window of another program for instance, holds the file open; the file or its folder is read-only; the disk is full.

Close the program that uses the file, or check the permissions of the folder, and assemble again. The workbench's own editor windows do not lock files.)~"},
    {9, Fatal, "insufficient memory;memory;CPU table",
     R"~(There was not enough memory to hold the CPU table while it was read.

Close other programs and assemble again. A table of reasonable size never needs much memory; a huge table points to a table file that is not what it should be, for example a wrong file named by CPU.)~"},
    {10, Fatal, "insufficient memory;memory;symbols;labels",
     R"~(There was not enough memory for another symbol (a label, a name defined with EQU or SETL, a macro name or an alias).

Close other programs and assemble again. If it persists, look for something in the source that makes labels without end, for example a macro that defines labels and is invoked very many times.)~"},
    {11, Fatal, "insufficient memory;memory;macros",
     R"~(There was not enough memory to store another line of a macro definition.

Close other programs, or split the source so that fewer or shorter macros are defined.)~"},
    {12, Fatal, "interrupted by user",
     R"~(Would mean that the assembly was cancelled. A run cannot be interrupted in this version, so the message is never reported.)~"},
    {13, Fatal, "too many nested macro expansions;endless macro;recursion;macros",
     R"~(A macro invoked a macro (itself or another) from its body, that one did the same, and so on 4096 times in a row without a line of the source file being read in between. Such a chain is taken to be endless, and the assembly stops.

A macro that invokes itself with nothing to stop it is the usual cause:

> COUNT MACRO N
>  COUNT N
>  ENDM

Put the invocation inside an IF whose condition becomes false, or invoke the macro from the source as often as needed. Macros invoked from lines of the source file, however many, never raise this error.)~"},

    // ---- line errors
    {26, Line, "missing operand;data directives;DFB",
     R"~(A data directive (DFB, DWL, DWM, DFL or DLL) produced no byte: nothing follows it, or only an empty string.

> TABLE DFB
>  DFB ""

Give at least one value. To reserve space without giving values, use DFS.)~"},
    {27, Line, "illegal line number;line numbers",
     R"~(A line that begins with a digit is taken to begin with a line number, which the assembler skips. Here the number is 0, or is no decimal number.

> 0 NOP
> 10A NOP

Remove the number or correct it. Labels cannot begin with a digit; start them with a letter, "_", "." or "?".)~"},
    {28, Line, "character string required;string operand;quotes",
     R"~(The directive needs a text in double quotes. CPU, INCL, HOF, HEX, LIST, CASE, TITL, ALIAS and RPTXT take strings.

>  HEX ON
>  INCL defs.inc

should read

>  HEX "ON"
>  INCL "defs.inc"

Put the text in double quotes; a closing quote must stand on the same line.)~"},
    {29, Line, "missing label;illegal label;EQU;SETL;MACRO;ALIAS;IF",
     R"~(EQU, SETL, ALIAS and MACRO need a label, the name they define; IF, ELSE and ENDI must not have one.

>  EQU 10
> LOOP IF DEBUG

A label is the name in column 1, or a name followed by a colon. Write the name to be defined in column 1 before EQU, SETL, ALIAS and MACRO, and indent IF, ELSE and ENDI, or a name in column 1 before them is taken as their label. The directive still acts as far as it can. See [[31]].)~"},
    {30, Line, "illegal hexadecimal format;HOF;object format",
     R"~(The HOF directive names no object format the assembler knows. The object format stays as it was.

>  HOF "INTEL"

The formats are "BIN8", "INT8", "INHX8M", "MOT8", "BIN16", "INT16", "MOT16", "BIN32" and "MOT32"; capitals or small letters do not matter. See [[36]].)~"},
    {31, Line, "unexpected characters at end of line;extra text",
     R"~(The instruction or directive has read all its operands, and text is left over on the line.

>  ALGN 2, 4
>  TITL "Monitor" version 2
>  LIST "OFF" listing off here

Typical causes: an extra operand, a comment that does not begin with ";", a second value for a directive that takes one. Remove the surplus text, or start the comment with ";".)~"},
    {32, Line, "phase error;label changes value;passes;duplicate label",
     R"~(In the second or a later pass a label received a value other than the one it had in the pass before. The assembler then runs another pass, at most five in all, and the message remains only if the values still disagree in the last pass. It is reported at column 1 of the line that defines the label.

Typical causes:

- The same label is defined twice: the second definition meets the value of the first.
- EQU gives a name that exists already another value. Use SETL for a name whose value changes.
- The length of some code depends on a label defined further on, and the lengths never settle.
- IF tests a name that is never defined (that line shows error 40, and more passes follow).

> LOOP NOP
> LOOP NOP

Rename one of two labels of the same name; use SETL for variables; make sure every name an IF tests is defined.)~"},
    {33, Line, "instruction not found;operands;addressing mode;ALIAS",
     R"~(The mnemonic is an instruction of the CPU table, but none of its forms matches the operands as written. The message also comes from ALIAS when its string names no directive.

>  NOP 5
>  LD A,(IX+)
> ENDIF ALIAS "ENDIF"

Typical causes: an operand the instruction does not take; a register name that the table does not list; a missing or surplus comma, parenthesis or "#". Blanks do not matter, but every other character of the operand must match a form in the table. A value out of range for every form gives error 36 instead, an undefined name error 40.

Compare the line with the forms the CPU table gives for the instruction (see [[35]]); ALIAS must name a built-in directive, for example "ENDI".)~"},
    {34, Line, "file control;ON;OFF;HEX;LIST;CASE",
     R"~(HEX, LIST and CASE take the string "ON" or "OFF"; capitals or small letters do not matter.

>  LIST "NO"

Write "ON" or "OFF".)~"},
    {35, Line, "symbol not found;unknown mnemonic;unknown directive;no CPU table",
     R"~(The opcode field holds a name that is neither an instruction of the CPU table, nor a directive, nor a macro.

Typical causes:

- The mnemonic or directive is misspelt.
- No CPU table is loaded yet: the CPU directive must come before the first instruction.
- A label does not start in column 1 and has no colon, so it is taken as the opcode.
- With CASE "ON", a directive is written in small letters; directives must then be capitals.

>  START LD A,1

Here START is indented and taken for an instruction: move it to column 1 or write "START:". See [[31]].)~"},
    {36, Line, "operand not in range;out of range;branch too far;directive ranges",
     R"~(A value lies outside what the instruction or directive accepts.

- Instructions: the CPU table gives each operand its range, for example a byte, or the reach of a short branch. When an instruction has several forms, each is tried, and error 36 remains when none takes the value.
- Directives: DFB -128 to 255; DWL and DWM -32768 to 65535; ALGN and WDLN 1 to 16; TAB 2 to 40; FILL -128 to 255; DFS at least 1; PAGE 0 or 3 to 65535.

>  DFB 300
>  ALGN 0

Correct the value. For a branch that cannot reach its target, use a long jump or move the target closer.)~"},
    {37, Line, "instruction starts with invalid character;comments",
     R"~(The first character of the line, or the first character after a label, cannot begin a name. Names begin with a letter, "_", "." or "?".

> * comment
> =5
> LOOP: =5

Comments begin with ";". Remove the stray character, or make the line a comment.)~"},
    {38, Line, "violation of conditional block;IF;ELSE;ENDI;ENDM;unbalanced blocks",
     R"~(The IF, ELSE and ENDI lines do not pair up:

- ELSE or ENDI without an open IF;
- END, or the end of the main file, while an IF block is still open;
- in macros: ENDM with no macro definition open, or a definition that is still open at the end of the main file because its ENDM is missing.

A directive written in column 1 is taken as a label: "ENDI" in column 1 defines a label ENDI and leaves the block open. Indent directives.

>  IF DEBUG
> ENDI

Add the missing IF, ENDI or ENDM, or indent it.)~"},
    {39, Line, "decreasing program counter;binary image;FILL;ORG backwards",
     R"~(With a binary object format ("BIN8", "BIN16", "BIN32") or after FILL, the object file is one continuous image, and ORG, DFS or HEX "ON" moved the address below code already written. The image goes on directly after the bytes written so far, so the code that follows lands at wrong addresses.

>  ORG 200H
>  ...
>  ORG 100H

Arrange the parts of the source in ascending address order, or use a hexadecimal format, whose records carry their addresses. See [[36]].)~"},
    {40, Line, "undefined label;undefined name;symbols",
     R"~(A name is used that is defined nowhere. From the second pass on every name must be known; the expression then counts as 0.

>  JMP STRAT

Typical causes: a misspelt name; a label defined only inside a false IF block; with CASE "ON", a difference of capitals and small letters; a label defined inside a macro and used outside its expansion (each expansion keeps its labels to itself). The message on a label's own line means the label could not be defined in the first pass.

Define the name, or correct its spelling. See [[31]].)~"},
    {41, Line, "missing quote;strings;character string",
     R"~(A string has no closing double quote on its line. The column points at the end of the line.

>  DFB "HELLO, 0

A ";" inside quotes does not begin a comment, so an open quote takes in the rest of the line. Add the closing quote.)~"},
    {42, Line, "missing right bracket;script brackets;braces",
     R"~(An opening curly bracket "{" is not closed before the operand ends. Expressions group with { and }; parentheses are no operators of expressions, because instruction operands use them.

>  DWL {1+2*3

Add the closing "}". See [[32]].)~"},
    {43, Line, "digit not valid for base;numbers;hexadecimal;octal;binary",
     R"~(A number holds a digit that does not belong to its base, or a hexadecimal number lacks its suffix.

>  DFB 1F
>  DFB 09
>  DFB 102B

Numbers are decimal (255), hexadecimal (0FFH, 0xFF, $FF), octal (377Q, 377O, or with a leading 0: 017) or binary (1010B). A leading 0 makes a number octal, so 09 is wrong. A hexadecimal number that begins with a letter needs a leading 0: FFH is a name, 0FFH a number. See [[32]].)~"},
    {44, Line, "unexpected second value;missing operator;missing comma",
     R"~(Two values follow each other without an operator between them.

>  DFB 3 4
>  DWL 10 20

Usually a comma or an operator is missing, or a blank has crept into a name. The expression counts as 0.)~"},
    {45, Line, "undefined operator;parentheses;invalid character in expression",
     R"~(A character that is no operator of expressions stands in an operand: for example "(", ")", "=", "'", "@" or ":".

>  DFB (1+2)*3
>  IF X=1
>  DFB 'A'

Group with { and } instead of parentheses, compare with "==", and write characters in double quotes. When an instruction operand holds parentheses that no form of the CPU table takes, this message can appear instead of error 33. The expression counts as 0. See [[32]].)~"},
    {46, Line, "unexpected right bracket;script brackets;braces",
     R"~(A closing curly bracket "}" has no opening "{" before it.

>  DFB 1+2}

Remove it, or add the missing "{". See [[32]].)~"},
    {47, Line, "unexpected end of line;missing operand",
     R"~(The operand ends where a value is expected: the expression is empty, or ends with an operator or an opening bracket.

>  ORG
>  DFB 1+
>  DWL {

Complete the expression.)~"},
    {48, Line, "shift must be less than 32;shift operators",
     R"~(A value is shifted with << or >> by 32 places or more. Values have 32 bits, so such a shift leaves nothing meaningful.

>  DFL 1<<32

Shift by 0 to 31. The expression counts as 0.)~"},
    {49, Line, "unexpected binary operator;operators",
     R"~(An operator that needs a value on both sides stands where a value is expected: at the start of the expression, or right after another operator. Only + and - may stand before a value.

>  DFB *2
>  DFB 2**3

Add the missing value or remove the surplus operator.)~"},
    {50, Line, "unexpected unary operator;operators",
     R"~(An operator that takes one value only ("!", "~", INV, LOW, HIGH, NOT or "{") stands between two values, where a binary operator is expected.

>  DFB 1 ~ 2
>  DFB 5 LOW 2

Add the binary operator you mean, for example "&" or "+"; "!=" (not equal) is binary.)~"},
    {51, Line, "string exceeds 4 characters;DFL;DLL",
     R"~(DFL and DLL store 32-bit values; a string stands for a number of at most four characters there.

>  DFL "ABCDE"

Use DFB for text of any length.)~"},
    {52, Line, "unexpected expression separator;comma",
     R"~(A comma, or the character that ends an operand in the instruction form being tried, stands where a value is expected.

>  DFB 1+,2
>  DFB {,1}

Complete the expression before the comma, or remove the comma. The expression counts as 0.)~"},
    {53, Line, "division by zero;division",
     R"~(A division "/" or a remainder "%" has 0 on its right side, often a name whose value is 0 in this pass.

>  DFB 10/0

Check the value of the divisor. The expression counts as 0.)~"},
    {54, Line, "assembler trap;internal error",
     R"~(An operator reached the evaluation without a meaning as a unary operator. This points to a fault inside the assembler, not in your source.

Write the expression differently, for example with { } around its parts, and report the line together with the version shown by the [[2009]].)~"},
    {55, Line, "assembler trap;internal error",
     R"~(An operator reached the evaluation without a meaning as a binary operator. This points to a fault inside the assembler, not in your source.

Write the expression differently, for example with { } around its parts, and report the line together with the version shown by the [[2009]].)~"},
};

std::string MessageTitle(int number) { return "Error " + std::to_string(number) + ": " + MessageText(number); }

std::string MessageBody(const TMessageText& m) {
  std::string body;
  if (m.Kind == Fatal)
    body = "Fatal error: the assembly stops after the line on which it occurred, and no further pass runs. "
           "The listing and the object file are left incomplete.\n\n";
  if (m.Kind == Line)
    body = "Line error: the message gives the file, the line and the column at which the problem was found; "
           "assembly goes on with the next line. The code of that line cannot be trusted, so correct it before "
           "using the object file.\n\n";
  body += m.Body;
  body += "\n\nSee also: [[20]].";
  return body;
}

std::string MessageListBody() {
  std::string body =
      R"~(After each Assemble run the error file (.ERR, beside the main file) holds one line for every error of the last pass, in the order of the source lines:

> /WORK/MAIN.ASM(12,9): Error 36 - Operand not in specified range

that is the full path of the source file, the line, the column, the error number and its text. The listing shows the same line below the source line it belongs to. [[24355]] (Alt+F8) and [[24354]] (Alt+F7) go from message to message, and Ctrl+F1 opens the help of the message shown in the status bar.

- A line reports only its first error. Correct it and assemble again: a second fault of the line shows then.
- Lines inside a false IF block and inside a macro definition report no errors; lines of a macro expansion report theirs at the line that invoked the macro.
- Errors are counted in the last pass only; errors that later passes cleared up do not show.
- Fatal errors stop the assembly; line errors let it go on.

)~";
  body += "## Fatal errors\n";
  for (const TMessageText& m : Messages)
    if (m.Kind == Fatal) body += "- [[" + std::to_string(MessageHelpBase + m.Number) + "]]\n";
  body += "\n## Line errors\n";
  for (const TMessageText& m : Messages)
    if (m.Kind == Line) body += "- [[" + std::to_string(MessageHelpBase + m.Number) + "]]\n";
  body += "\nThe number 0 [[100|(no error)]] is never reported.";
  return body;
}

}  // namespace

void AddMessageHelpTopics(std::vector<THelpTopic>& topics) {
  topics.push_back({MessageListContext, "Assembler messages",
                    "messages;errors;error file;ERR file;fatal errors;line errors;Ctrl+F1",
                    MessageListBody()});
  for (const TMessageText& m : Messages) {
    std::string keywords = std::string("Error ") + std::to_string(m.Number) + ";" + m.Keywords;
    topics.push_back({MessageHelpBase + m.Number, MessageTitle(m.Number), keywords, MessageBody(m)});
  }
}
