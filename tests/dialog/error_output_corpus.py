#!/usr/bin/env python3
# Writes error_output_corpus.inc: error output as real programs write it, each
# sample with the bytes the child writes, the kind they are to be read as and
# what the message window shows of them (escape sequences gone, CR and
# backspace acted on, lines ending in CR LF).
#   python3 tests/dialog/error_output_corpus.py > tests/dialog/error_output_corpus.inc
E = "\x1b"
GCC_ERR = E + "[01;31m" + E + "[K"
GCC_BOLD = E + "[01m" + E + "[K"
GCC_END = E + "[m" + E + "[K"
RED, RESET = E + "[31m", E + "[0m"

# (name, encoding, what the child writes, what the window shows)
SAMPLES = [
    # Compilers and linkers in code page 932.
    ("gcc-cp932", "cp932", "main.c: 関数 'main' 内:\r\nmain.c:3:5: エラー: 'x' が宣言されていません (この関数内で最初に使用)\r\n",
     "main.c: 関数 'main' 内:\r\nmain.c:3:5: エラー: 'x' が宣言されていません (この関数内で最初に使用)\r\n"),
    ("gcc-cp932-lf", "cp932", "main.c:3:5: 警告: 暗黙的な関数 'foo' の宣言です\n   3 |     foo();\n     |     ^~~\n",
     "main.c:3:5: 警告: 暗黙的な関数 'foo' の宣言です\r\n   3 |     foo();\r\n     |     ^~~\r\n"),
    ("gcc-cp932-colour", "cp932",
     GCC_BOLD + "main.c:3:5:" + GCC_END + " " + GCC_ERR + "エラー: " + GCC_END + "'" + GCC_BOLD + "x" + GCC_END + "' が宣言されていません\n",
     "main.c:3:5: エラー: 'x' が宣言されていません\r\n"),
    ("cl-cp932", "cp932", "main.cpp(12): error C2065: 'count': 定義されていない識別子です。\r\n",
     "main.cpp(12): error C2065: 'count': 定義されていない識別子です。\r\n"),
    ("cl-cp932-warning", "cp932", "util.cpp(40): warning C4244: '初期化中': 'double' から 'int' への変換です。データが失われる可能性があります。\r\n",
     "util.cpp(40): warning C4244: '初期化中': 'double' から 'int' への変換です。データが失われる可能性があります。\r\n"),
    ("link-cp932", "cp932", "LINK : fatal error LNK1104: ファイル 'kernel33.lib' を開くことができません。\r\n",
     "LINK : fatal error LNK1104: ファイル 'kernel33.lib' を開くことができません。\r\n"),
    ("ld-cp932", "cp932", "C:/mingw/bin/ld.exe: main.o: 関数 `main' 内:\nmain.c:(.text+0x1e): `foo' に対する定義されていない参照です\ncollect2.exe: エラー: ld はステータス 1 で終了しました\n",
     "C:/mingw/bin/ld.exe: main.o: 関数 `main' 内:\r\nmain.c:(.text+0x1e): `foo' に対する定義されていない参照です\r\ncollect2.exe: エラー: ld はステータス 1 で終了しました\r\n"),
    ("cmd-cp932", "cp932", "'foo' は、内部コマンドまたは外部コマンド、\r\n操作可能なプログラムまたはバッチ ファイルとして認識されていません。\r\n",
     "'foo' は、内部コマンドまたは外部コマンド、\r\n操作可能なプログラムまたはバッチ ファイルとして認識されていません。\r\n"),
    ("cmd-path-cp932", "cp932", "指定されたパスが見つかりません。\r\n", "指定されたパスが見つかりません。\r\n"),
    ("perl-cp932", "cp932", "ファイルを開けません: No such file or directory at 変換.pl line 3.\n",
     "ファイルを開けません: No such file or directory at 変換.pl line 3.\r\n"),
    ("short-cp932", "cp932", "日本", "日本"),
    ("short-cp932-error", "cp932", "エラー", "エラー"),
    ("short-cp932-level2", "cp932", "叱責\r\n", "叱責\r\n"),
    ("colour-cp932", "cp932", RED + "失敗しました" + RESET + "\r\n", "失敗しました\r\n"),
    # Half-width katakana, which old tools write in code page 932.
    ("halfwidth-miss", "cp932", "ﾐｽ: line 3\n", "ﾐｽ: line 3\r\n"),
    ("halfwidth-long", "cp932", "ﾅｶﾞｲ", "ﾅｶﾞｲ"),
    ("halfwidth-sentence", "cp932", "ｴﾗｰ: ﾌｧｲﾙ ｶﾞ ｱﾘﾏｾﾝ\r\n", "ｴﾗｰ: ﾌｧｲﾙ ｶﾞ ｱﾘﾏｾﾝ\r\n"),
    ("halfwidth-colour", "cp932", RED + "ｴﾗｰ" + RESET + " ｺｰﾄﾞ 2\n", "ｴﾗｰ ｺｰﾄﾞ 2\r\n"),
    # Progress meters: each CR starts the line again, the last state stays.
    ("progress-cp932", "cp932", "コピー中  10%\rコピー中  50%\rコピー中 100%\r\n完了しました\r\n",
     "コピー中 100%\r\n完了しました\r\n"),
    ("progress-ascii", "ascii", "Downloading   0%\rDownloading  42%\rDownloading 100%\ndone\n",
     "Downloading 100%\r\ndone\r\n"),
    ("progress-erase", "ascii", "  3/10 files\r" + E + "[K  10/10 files\r" + E + "[2K\rfinished\n", "finished\r\n"),
    ("progress-utf8-bar", "utf-8", "\r 40% ████░░░░░░\r 80% ████████░░\r100% ██████████\n", "100% ██████████\r\n"),
    ("spinner-backspace", "ascii", "working |\b/\b-\b\\\bdone\n", "working done\r\n"),
    # UTF-8, as newer compilers, Python and Rust write it.
    ("gcc-utf8", "utf-8", "main.c:3:5: エラー: ‘x’ が宣言されていません\n", "main.c:3:5: エラー: ‘x’ が宣言されていません\r\n"),
    ("gcc-utf8-colour", "utf-8",
     GCC_BOLD + "main.c:3:5:" + GCC_END + " " + GCC_ERR + "エラー: " + GCC_END + "‘" + GCC_BOLD + "x" + GCC_END + "’ が宣言されていません\n",
     "main.c:3:5: エラー: ‘x’ が宣言されていません\r\n"),
    ("clang-utf8-colour", "utf-8",
     E + "[1mmain.c:3:5: " + E + "[0;1;31merror: " + E + "[0m" + E + "[1muse of undeclared identifier '変数'" + E + "[0m\n",
     "main.c:3:5: error: use of undeclared identifier '変数'\r\n"),
    ("rustc-utf8-colour", "utf-8",
     E + "[0m" + E + "[1m" + E + "[38;5;9merror[E0425]" + E + "[0m" + E + "[0m" + E + "[1m: cannot find value `値` in this scope" + E + "[0m\n"
     + E + "[0m " + E + "[0m" + E + "[0m" + E + "[1m" + E + "[38;5;12m--> " + E + "[0m" + E + "[0msrc/main.rs:2:5" + E + "[0m\n",
     "error[E0425]: cannot find value `値` in this scope\r\n --> src/main.rs:2:5\r\n"),
    ("python-utf8", "utf-8",
     "Traceback (most recent call last):\n  File \"C:\\Users\\田中\\スクリプト.py\", line 3, in <module>\n    print(1 / 0)\nZeroDivisionError: division by zero\n",
     "Traceback (most recent call last):\r\n  File \"C:\\Users\\田中\\スクリプト.py\", line 3, in <module>\r\n    print(1 / 0)\r\nZeroDivisionError: division by zero\r\n"),
    ("python-utf8-message", "utf-8",
     "Traceback (most recent call last):\n  File \"conv.py\", line 8, in <module>\n    raise ValueError(\"値が不正です: 'あ'\")\nValueError: 値が不正です: 'あ'\n",
     "Traceback (most recent call last):\r\n  File \"conv.py\", line 8, in <module>\r\n    raise ValueError(\"値が不正です: 'あ'\")\r\nValueError: 値が不正です: 'あ'\r\n"),
    ("python-utf8-accent", "utf-8", "FileNotFoundError: [Errno 2] No such file: 'C:\\café\\données.txt'\n",
     "FileNotFoundError: [Errno 2] No such file: 'C:\\café\\données.txt'\r\n"),
    ("node-utf8-emoji", "utf-8", "✖ 2 problems (2 errors, 0 warnings)\n🚀 ビルドに失敗しました\n",
     "✖ 2 problems (2 errors, 0 warnings)\r\n🚀 ビルドに失敗しました\r\n"),
    ("short-utf8", "utf-8", "あ\n", "あ\r\n"),
    ("short-utf8-error", "utf-8", "エラー 1\n", "エラー 1\r\n"),
    ("osc-title-utf8", "utf-8", E + "]0;ビルド中\x07エラーがあります\n", "エラーがあります\r\n"),
    # UTF-16, as PowerShell and cmd /u write it.
    ("powershell-utf16", "utf-16-le",
     "foo : 用語 'foo' は、コマンドレット、関数、スクリプト ファイル、または操作可能なプログラムの名前として認識されません。\r\n発生場所 行:1 文字:1\r\n+ foo\r\n+ ~~~\r\n",
     "foo : 用語 'foo' は、コマンドレット、関数、スクリプト ファイル、または操作可能なプログラムの名前として認識されません。\r\n発生場所 行:1 文字:1\r\n+ foo\r\n+ ~~~\r\n"),
    ("powershell-utf16-colour", "utf-16-le", E + "[31;1mGet-Item: パス 'C:\\なし' が存在しないため検出できません。" + E + "[0m\r\n",
     "Get-Item: パス 'C:\\なし' が存在しないため検出できません。\r\n"),
    ("cmd-u-utf16", "utf-16-le", "ファイルが見つかりません\r\n", "ファイルが見つかりません\r\n"),
    ("cmd-u-utf16-ascii", "utf-16-le", "The system cannot find the file specified.\r\n", "The system cannot find the file specified.\r\n"),
    ("short-utf16", "utf-16-le", "日本", "日本"),
    ("short-utf16-kana", "utf-16-le", "エラー", "エラー"),
    ("utf16-pair", "utf-16-le", "𠮟", "𠮟"),
    # Pure ASCII.
    ("ascii-make", "ascii", "make: *** [Makefile:12: all] Error 1\n", "make: *** [Makefile:12: all] Error 1\r\n"),
    ("ascii-colour", "ascii", RED + "error" + RESET + "\n", "error\r\n"),
    ("ascii-git", "ascii", "fatal: not a git repository (or any of the parent directories): .git\n",
     "fatal: not a git repository (or any of the parent directories): .git\r\n"),
    ("ascii-odd-escape", "ascii", E + "[1mred", "red"),
    ("ascii-short", "ascii", "x", "x"),
    ("ascii-crlf", "ascii", "warning: unused variable\r\n", "warning: unused variable\r\n"),
    # The code page's reading of UTF-16 hiragana: ASCII-looking bytes.
    ("utf16-hiragana-ascii-looking", "utf-16-le", "\u3042\u3044", "B0D0"),
]

# Long samples: the same line many times.
LONG = [
    ("long-cp932", "cp932", "main.c:%d:1: エラー: 型が一致しません\r\n", 400),
    ("long-utf8", "utf-8", "エラー %d\n", 600),
    ("long-utf16", "utf-16-le", "行 %d: 値が範囲外です\r\n", 300),
    ("long-ascii-colour", "ascii", E + "[33mwarning" + E + "[0m: line %d\n", 500),
]

KIND = {"cp932": "Multibyte", "ascii": "Multibyte", "utf-8": "Utf8", "utf-16-le": "Utf16"}


def c_bytes(data):
    out, after_hex = [], False
    for b in data:
        ch = chr(b)
        if 0x20 <= b < 0x7F and ch not in '"\\?' and not (after_hex and ch in "0123456789abcdefABCDEF"):
            out.append(ch)
            after_hex = False
        else:
            out.append("\\x%02X" % b)
            after_hex = True
    return '"' + "".join(out) + '"sv'


def c_utf16(text):
    out = []
    for ch in text:
        o = ord(ch)
        if ch in '"\\':
            out.append("\\" + ch)
        elif o == 0x0D:
            out.append("\\r")
        elif o == 0x0A:
            out.append("\\n")
        elif o < 0x20 or o == 0x7F:
            out.append("\\x%02X" % o)
        else:
            out.append(ch)
    return 'u"' + "".join(out) + '"sv'


def main():
    print("// Written by error_output_corpus.py: {name, the bytes a child writes,")
    print("// the kind they read as, what the message window shows}.")
    for name, encoding, text, shown in SAMPLES:
        data = text.encode("cp932" if encoding == "ascii" else encoding)
        if encoding == "utf-16-le" and name == "utf16-hiragana-ascii-looking":
            kind = "Multibyte"
        else:
            kind = KIND[encoding]
        print("{%s, %s, TextKind::%s, %s}," % ('"' + name + '"', c_bytes(data), kind, c_utf16(shown)))
    for name, encoding, line, count in LONG:
        text = "".join(line % n for n in range(1, count + 1))
        shown = text.replace("\r\n", "\n").replace(E + "[33m", "").replace(E + "[0m", "").replace("\n", "\r\n")
        data = text.encode("cp932" if encoding == "ascii" else encoding)
        print("{%s, %s, TextKind::%s, %s}," % ('"' + name + '"', c_bytes(data), KIND[encoding], c_utf16(shown)))


main()
