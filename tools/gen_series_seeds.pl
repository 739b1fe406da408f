#!/usr/bin/perl
# Writes the seed inputs of fuzz/series_numbering_fuzz.cpp into fuzz/corpus/series_numbering/: the
# series numberings ($v of the 4XX and 8XX fields) of Debian's sample records, read with
# `yaz-marcdump` (package yaz) from idzebra-2.0-examples (marc21/sample-marc.gz) and libmarc-perl
# (examples/*.001).
#
# Each seed is one input of the fuzz target: the numbering, the heading in its record form (with
# subfield delimiters) and the heading's capitals with single blanks, separated by the octet 0x00.
#
# Usage: perl tools/gen_series_seeds.pl
use strict;
use warnings;

my $out = 'fuzz/corpus/series_numbering';
my @sources = (
    'zcat /usr/share/doc/idzebra-2.0/examples/marc21/sample-marc.gz > /tmp/series_seeds.mrc && '
      . 'yaz-marcdump /tmp/series_seeds.mrc',
    map { "yaz-marcdump $_" } glob('/usr/share/doc/libmarc-perl/examples/*.001'),
);

system('mkdir', '-p', $out) == 0 or die "cannot make $out\n";
my $n = 0;
my %seen;
for my $command (@sources) {
    open(my $dump, '-|', "$command 2>/dev/null") or die "cannot run: $command\n";
    while (my $line = <$dump>) {
        chomp $line;
        next unless $line =~ /^(4\d\d|8[0-3]\d) .. (.*)$/;
        my $field = $2;
        next unless $field =~ /\$v (.*?)(?: \$|$)/;
        my $numbering = $1;
        # The heading: the subfields before $v, as the record holds them.
        (my $heading = $field) =~ s/ ?\$v .*//;
        (my $original = $heading) =~ s/\$(\w) /\x1F$1/g;
        (my $plain = $heading) =~ s/\$\w //g;
        $plain = uc $plain;
        $plain =~ s/[^A-Z0-9 ]/ /g;
        $plain =~ s/ +/ /g;
        $plain =~ s/^ | $//g;
        my $seed = "$numbering\x00$original\x00$plain";
        next if $seen{$seed}++;
        open(my $file, '>:raw', sprintf('%s/seed-%02d', $out, ++$n)) or die "cannot write seed $n\n";
        print $file $seed;
        close $file;
    }
    close $dump;
}
unlink '/tmp/series_seeds.mrc';
print "$n seeds\n";
