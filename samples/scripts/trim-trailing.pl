#!perl
# Removes spaces and TABs at the ends of lines, for Tuvex (code page 932
# text). Works byte by byte: neither byte is ever part of a double-byte
# character, and the line ends stay as they came.
binmode STDIN;
binmode STDOUT;
while (<STDIN>) {
    s/[ \t]+(?=\r?\n?\z)//;
    print;
}
