#!/usr/bin/perl
# Writes testdata/marc8_yaz.tsv: what `yaz-iconv -f marc8 -t utf8` (Debian package yaz) makes of
# each octet of the single-octet MARC-8 sets, reached through each escape sequence that designates
# a set. The one-character translation is compared with it by marc8/marc8_to_utf8_test.cpp.
#
# Each case runs yaz-iconv once on: the escape sequence, the octet, ESC ( B and the letter X. The
# trailing X gives a combining mark a base to follow (yaz-iconv writes nothing for a lone mark);
# the X is then removed again: the last X of the output, or the first when the output does not end
# in X (a mark written after its base). An octet that yaz-iconv drops leaves the output empty.
#
# Octets captured: the graphic octets of the half that the escape designates, 0x21 to 0x7E for a
# G0 designation (and the one-letter escapes), 0xA1 to 0xFE for a G1 designation; for the Latin
# set in its default state ("1", no escape) also 0x80 to 0xA0 and 0xFF.
#
# Columns: designation, octet (two hexadecimal digits), yaz-iconv output as hexadecimal ("-" when
# it writes nothing).
#
# Usage: perl tools/capture_marc8_yaz.pl > testdata/marc8_yaz.tsv
use strict;
use warnings;
use File::Temp qw(tempfile);

my @g0 = (0x21 .. 0x7E);
my @g1 = (0xA1 .. 0xFE);
my @cases = (
    ['1', '', [@g0, 0x80 .. 0xFF]],
    map({ [$_, "\x1b$_", \@g0] } qw{s g b p (B (!E (2 (N (Q (3 (4 (S}),
    map({ [$_, "\x1b$_", \@g1] } qw{)!E )2 )N )Q )3 )4 )S}),
);

my ($fh, $input) = tempfile(UNLINK => 1);
binmode $fh;
close $fh;

my $version = qx{dpkg-query -W -f '\${Version}' yaz 2>/dev/null} || 'unknown version';
print "# yaz-iconv -f marc8 -t utf8 (Debian yaz $version), captured by tools/capture_marc8_yaz.pl\n";
print "# designation\toctet\tutf8\n";
for my $case (@cases) {
    my ($designation, $escape, $octets) = @$case;
    for my $octet (@$octets) {
        open my $out, '>:raw', $input or die "$input: $!\n";
        print $out $escape, chr($octet), "\x1b(BX";
        close $out;
        my $utf8 = `yaz-iconv -f marc8 -t utf8 < $input 2>/dev/null`;
        die "yaz-iconv failed\n" if $? != 0;
        if ($utf8 =~ /X\z/) {
            $utf8 =~ s/X\z//;
        } else {
            $utf8 =~ s/^X// or die sprintf("no X in the output for %s %02X\n", $designation, $octet);
        }
        my $hex = length $utf8 ? uc unpack('H*', $utf8) : '-';
        printf "%s\t%02X\t%s\n", $designation, $octet, $hex;
    }
}
