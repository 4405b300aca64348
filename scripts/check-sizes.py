#!/usr/bin/env python3
"""Checks that every source file of the program stays under 400 lines and every function under
80, so that each can be read at one sitting. Prints what is over, and exits 1 if anything is.

A function is a brace block whose opening line follows a closing parenthesis (with qualifiers,
an initializer list or a trailing return type between), counted from its first line to its last;
lambdas and blocks inside it count with it. Strings, characters and comments are skipped."""
import pathlib
import re
import sys

FILE_LINES = 400
FUNCTION_LINES = 80
ROOTS = ("src", "apps")


def code_only(text):
    """The text with strings, character literals and comments blanked, lines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        elif text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append('""' + "\n" * text.count("\n", i, j))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def long_functions(text):
    """(first line, length) of each function of more than FUNCTION_LINES lines."""
    code = code_only(text)
    found, stack, line = [], [], 1
    for k, c in enumerate(code):
        if c == "\n":
            line += 1
        elif c == "{":
            head = code[max(0, k - 400):k]
            head = re.sub(r"\s+", " ", head).rstrip()
            inside = any(kind == "function" for kind, _ in stack)
            is_function = not inside and re.search(
                r"\)( ?(const|override|final|noexcept|mutable|-> ?[\w:<>&*, ]+))*( ?:[^;{}]*)?$",
                head) is not None and not re.search(r"\b(if|for|while|switch|catch) ?\([^;{}]*$",
                                                    head)
            stack.append(("function" if is_function else "block", line))
        elif c == "}" and stack:
            kind, start = stack.pop()
            if kind == "function" and line - start + 1 > FUNCTION_LINES:
                found.append((start, line - start + 1))
    return found


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    over = []
    for folder in ROOTS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            text = path.read_text(encoding="utf-8")
            name = path.relative_to(root)
            lines = text.count("\n")
            if lines >= FILE_LINES:
                over.append(f"{name}: {lines} lines (under {FILE_LINES})")
            for start, length in long_functions(text):
                over.append(f"{name}:{start}: a function of {length} lines (under {FUNCTION_LINES})")
    print("\n".join(over) if over else "every file and every function is within its size")
    return 1 if over else 0


if __name__ == "__main__":
    sys.exit(main())
