#!/usr/bin/perl
# Writes peer.bin, the image that the peer test compares with ours, from the
# bytes written by hand beside every instruction of our source, and only
# after dz80 (Debian package d52) has read those bytes back as the very
# instructions of the source.
#
#   perl dz80-check.pl -80|-85 SOURCE
#
# Every instruction line of SOURCE (and of the files it includes with INCL)
# ends with a comment holding its code bytes in hexadecimal, "; 01 34 12".
# The bytes, one image from the ORG address on, go to peer.bin in the
# current directory; dz80 disassembles that image and each line it prints
# must name the same instruction as the source line: same mnemonic, same
# registers, same numbers (taken modulo 256 in a two-byte instruction and
# modulo 65536 in a three-byte one, so that -1 and 0FFH agree). The peer
# test then asks that our table give those same bytes; together the two
# checks say that dz80 reads our code as the source we wrote.
use strict;
use warnings;
use File::Basename qw(dirname);

my ($cpu, $source) = @ARGV;
die "usage: dz80-check.pl -80|-85 SOURCE\n" unless defined $source && $cpu =~ /^-8[05]$/;

my %directive = map { $_ => 1 } qw(CPU HOF ORG END INCL TITL);
my @lines;    # [where, instruction text, [bytes]]
my $origin;

sub number {
  my ($text) = @_;
  my $sign = $text =~ s/^-// ? -1 : 1;
  my $n;
  if    ($text =~ /^([0-9][0-9A-F]*)H$/) { $n = hex $1 }
  elsif ($text =~ /^([01]+)B$/)          { $n = oct "0b$1" }
  elsif ($text =~ /^([0-7]+)[OQ]$/)      { $n = oct $1 }
  elsif ($text =~ /^([0-9]+)D?$/)        { $n = $1 }
  else                                   { return undef }
  return $sign * $n;
}

sub read_source {
  my ($file, $depth) = @_;
  die "$file: includes nest too deeply\n" if $depth > 8;
  open my $in, '<', $file or die "$file: $!\n";
  while (my $line = <$in>) {
    $line =~ s/\r?\n$//;
    my $where = "$file:$.";
    # The comment starts at the first ";" outside double quotes.
    my ($code, $comment) = ($line, '');
    if ($line =~ /^((?:[^";]|"[^"]*")*);(.*)$/) { ($code, $comment) = ($1, $2) }
    $code =~ s/^\S+// unless $code =~ /^\s/;    # a label
    $code =~ s/^\s+|\s+$//g;
    next if $code eq '';
    my ($word) = $code =~ /^(\S+)/;
    if ($directive{uc $word}) {
      if (uc $word eq 'INCL') {
        my ($name) = $code =~ /"([^"]+)"/ or die "$where: INCL without a file name\n";
        read_source(dirname($file) . "/$name", $depth + 1);
      } elsif (uc $word eq 'ORG') {
        die "$where: one ORG only, before the code\n" if defined $origin || @lines;
        my ($value) = $code =~ /^\S+\s+(\S+)$/;
        $origin = number(uc($value // ''));
        die "$where: ORG needs a plain number\n" unless defined $origin;
      }
      next;
    }
    die "$where: no code bytes in the comment of \"$code\"\n"
      unless $comment =~ /^\s*((?:[0-9A-Fa-f]{2}\s*)+)$/;
    push @lines, [$where, $code, [map { hex } split ' ', $1]];
  }
  close $in;
}

read_source($source, 0);
die "$source: no ORG\n" unless defined $origin;
die "$source: no instructions\n" unless @lines;

# The instruction as mnemonic and operands, numbers as values in the width
# that the instruction's operand bytes give them.
sub canonical {
  my ($text, $length) = @_;
  my ($mnemonic, $operands) = $text =~ /^(\S+)\s*(.*)$/;
  $operands =~ s/\s+//g;
  my @parts;
  for my $operand (split /,/, uc $operands) {
    my $value = $operand =~ /^X([0-9A-F]{4})$/ ? hex $1 : number($operand);
    if (defined $value) {
      $value &= 0xFF   if $length == 2;
      $value &= 0xFFFF if $length == 3;
      $operand = sprintf '%XH', $value;
    }
    push @parts, $operand;
  }
  return uc($mnemonic) . (@parts ? ' ' . join(',', @parts) : '');
}

open my $image, '>:raw', 'peer.bin' or die "peer.bin: $!\n";
print $image pack('C*', map { @{ $_->[2] } } @lines);
close $image;

# dz80 takes a zero byte outside a known code range for unused memory and
# leaves it out; its control file names the whole image as code.
my $size = 0;
$size += @{ $_->[2] } for @lines;
open my $control, '>', 'peer.ctl' or die "peer.ctl: $!\n";
printf $control "c %04X-%04X\n", $origin, $origin + $size - 1;
close $control;

my $status = system(sprintf 'dz80 %s -b -u -x%X peer >dz80.txt 2>&1', $cpu, $origin);
die "dz80 failed:\n" . `cat dz80.txt` if $status != 0;
(my $listing = "peer.d$cpu") =~ s/-//;
open my $dis, '<', $listing or die "$listing: $!\n";
my @read;
while (my $line = <$dis>) {
  $line =~ s/\s*(;.*)?\r?\n?$//;
  $line =~ s/^\w+://;    # a label dz80 gave an address
  next if $line =~ /^\s*$/;
  my ($mnemonic) = $line =~ /^\s*(\S+)/;
  next if $mnemonic =~ /^(ORG|END)$/ || $line =~ /^\S+\s+EQU\s/;
  $line =~ s/^\s+//;
  push @read, $line;
}
close $dis;

my $failures = 0;
my $count = @lines > @read ? @lines : @read;
for my $i (0 .. $count - 1) {
  my $ours = $lines[$i];
  my $want = $ours ? canonical($ours->[1], scalar @{ $ours->[2] }) : '(nothing)';
  my $got  = defined $read[$i] ? canonical($read[$i], $ours ? scalar @{ $ours->[2] } : 0) : '(nothing)';
  next if $want eq $got;
  my $where = $ours ? "$ours->[0]: " . join(' ', map { sprintf '%02X', $_ } @{ $ours->[2] }) : 'after the source';
  print "$where: the source says \"$want\", dz80 reads \"$got\"\n";
  last if ++$failures >= 20 || !$ours;
}
if ($failures) {
  unlink 'peer.bin';
  exit 1;
}
printf "dz80 %s read %d instructions as written\n", $cpu, scalar @lines;
exit 0;
