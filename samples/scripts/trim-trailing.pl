#!perl
# Removes spaces, TABs and full-width spaces (U+3000) at the ends of lines,
# for Tuvex (code page 932 text). Each line is decoded before the match, so
# that the second byte of a double-byte character is never taken for a
# space; the line ends stay as they came.
use strict;
use warnings;
use Encode qw(decode encode);

binmode STDIN;
binmode STDOUT;
while (my $line = <STDIN>) {
    my $text = decode('cp932', $line);
    $text =~ s/[ \t\x{3000}]+(?=\r?\n?\z)//;
    print encode('cp932', $text);
}
