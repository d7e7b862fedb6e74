#!/usr/bin/perl
# Lets groff break and fill a manual page written in Chinese or Japanese, which put no spaces
# between words: a break point (\:) between two such characters, and lines set flush left
# (.ad l) since there are no spaces to stretch. A page without them is left as it is.
# Run as: perl CjkManualBreaks.pl PAGE OUTPUT
use strict;
use warnings;
use open qw(:std :encoding(UTF-8));

my ($input, $output) = @ARGV;
open my $in, '<', $input or die "$input: $!\n";
my $page = do { local $/; <$in> };
my $wordless = qr/[\p{Han}\p{Hiragana}\p{Katakana}\x{30FC}]/;
if ($page =~ $wordless) {
    my @lines = split /\n/, $page, -1;
    for (@lines) {
        next if /^\./;    # requests and macros keep their arguments whole
        s/($wordless)(?=$wordless|[\x{FF08}\x{300C}\x{300E}])/$1\\:/g;
    }
    $page = join "\n", @lines;
    $page =~ s/^(\.TH [^\n]*\n)/$1.ad l\n/m;
}
open my $out, '>', $output or die "$output: $!\n";
print $out $page;
close $out or die "$output: $!\n";
