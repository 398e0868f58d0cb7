#!/usr/bin/perl
# Perl's DBI with DBD::ODBC against the driver: Chinese text, characters
# outside GBK, a 1 MB text as a parameter, NULL and a rollback.  A Unicode
# build of DBD::ODBC takes Perl's characters as they are; Debian's is a
# narrow one, which hands the driver bytes, so texts go to it as GB18030,
# the narrow interface's encoding (GBK with four-byte forms for the rest).
#
#     dbd_odbc_client.pl <scratch directory>
use strict;
use warnings;
use utf8;
use DBI;
use Encode qw(decode encode);
use Encode::HanExtra; # GB18030

binmode STDOUT, ':encoding(UTF-8)';
my $scratch = shift or die "usage: $0 <scratch directory>\n";
my $path = "$scratch/dbd_odbc.mdb";
unlink $path, "$path-wal", "$path-shm";
system('sqlite3', $path, 'CREATE TABLE cntext (ID INTEGER PRIMARY KEY AUTOINCREMENT, 对应节点 VARCHAR(255), '
       . '字符 LONGTEXT, 描述 LONGTEXT, 详情 LONGTEXT);') == 0 or die "cannot make $path\n";

sub fail { print "FAILED: $_[0]\n"; exit 1 }

my $dbh = DBI->connect("dbi:ODBC:DRIVER={Microsoft Access Driver (*.mdb)};DBQ=$path", '', '',
                       { RaiseError => 1, PrintError => 0, AutoCommit => 0, LongReadLen => 4 * 1024 * 1024 })
    or fail("connect: $DBI::errstr");
my $wide = $dbh->{odbc_has_unicode};

# Encode::HanExtra knows GB18030 only within the Basic Multilingual Plane;
# the planes beyond follow the standard's linear four-byte ranges from
# 0x90308130, done here.
sub gb18030 {
    my ($text) = @_;
    my $out = '';
    for my $run (split /([\x{10000}-\x{10FFFF}])/, $text) {
        if (length($run) == 1 && ord($run) >= 0x10000) {
            my $i = ord($run) - 0x10000;
            $out .= pack('C4', 0x90 + int($i / 12600), 0x30 + int($i / 1260) % 10, 0x81 + int($i / 10) % 126, 0x30 + $i % 10);
        } else {
            $out .= encode('gb18030', $run, Encode::FB_CROAK);
        }
    }
    return $out;
}

sub from_gb18030 {
    my ($bytes) = @_;
    my $out = '';
    for my $run (split /([\x90-\xE3][\x30-\x39][\x81-\xFE][\x30-\x39])/, $bytes) {
        if (length($run) == 4 && $run =~ /^[\x90-\xE3][\x30-\x39]/) {
            my @b = unpack('C4', $run);
            $out .= chr(0x10000 + ($b[0] - 0x90) * 12600 + ($b[1] - 0x30) * 1260 + ($b[2] - 0x81) * 10 + $b[3] - 0x30);
        } else {
            $out .= decode('gb18030', $run, Encode::FB_CROAK);
        }
    }
    return $out;
}

sub out { $wide ? $_[0] : gb18030($_[0]) }
sub back { $wide || !defined $_[0] ? $_[0] : from_gb18030($_[0]) }

my $chinese = '中文字符';
my $outside = "\x{20000}\x{1F600}";
my $long = substr(('代码片段 snippet ' x 90000), 0, 1024 * 1024);

my $insert = $dbh->prepare(out('INSERT INTO cntext (对应节点, 字符, 描述, 详情) VALUES (?, ?, ?, ?)'));
$insert->execute(out($chinese), out($outside), out($long), undef);
$dbh->commit;
$insert->execute(out('回滚'), 'x', 'y', 'z');
$dbh->rollback;

my $rows = $dbh->selectall_arrayref(out('SELECT 对应节点, 字符, 描述, 详情 FROM cntext ORDER BY ID'));
@$rows == 1 or fail('rollback: ' . scalar(@$rows) . ' rows');
my ($node, $code, $description, $details) = map { back($_) } @{$rows->[0]};
$node eq $chinese or fail("Chinese: $node");
$code eq $outside or fail('characters outside GBK');
$description eq $long or fail('1 MB text: ' . length($description) . ' characters');
defined $details and fail('NULL');
my ($found) = $dbh->selectrow_array(out('SELECT ID FROM cntext WHERE 对应节点 = ?'), undef, out($chinese));
$found or fail('found by a Chinese parameter');
$dbh->disconnect;

# Another reader of the file finds the UTF-8 the user typed.
my $stored = decode('UTF-8', `sqlite3 '$path' 'SELECT 字符 FROM cntext'`);
chomp $stored;
$stored eq $outside or fail('stored text');
print 'DBD::ODBC (', ($wide ? 'Unicode' : 'narrow, GB18030'), "): 1 passed, 0 failed\n";
