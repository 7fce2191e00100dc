#!/usr/bin/env bash
# Win32 resources are held by the scoped owners (classlib/gui/scoped_win32.h,
# classlib/core/kernel_handle.h and the few classes listed below), never
# released by hand. This check reads every C and C++ source and header of the
# tree (or of the folder given as the first argument) as tokens, with
# comments, strings and character literals taken out and lines joined where
# they continue, and fails, naming file:line, wherever a release function is
# named outside its owners: a call, also one split across lines, its address,
# a deleter type or a macro standing for it all count.
# tools/check-owners-test.sh shows that it does.
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

# Every function that gives a Win32 resource back.
releases=(
  # Device contexts, GDI objects and their selections, painting.
  DeleteDC ReleaseDC RestoreDC EndPaint DeleteObject SelectObject SelectPalette
  DeleteEnhMetaFile DeleteMetaFile CloseEnhMetaFile CloseMetaFile
  # Kernel handles, searches and change notifications, registry keys.
  CloseHandle FindClose FindCloseChangeNotification RegCloseKey UnmapViewOfFile
  # Memory: global, local, virtual, heap, the COM task allocator, the shell's.
  GlobalFree GlobalUnlock LocalFree LocalUnlock VirtualFree HeapFree HeapDestroy
  CoTaskMemFree SHFree ILFree SysFreeString DragFinish
  # Windows, menus, icons, cursors, image lists, modules, hooks.
  DestroyWindow DestroyMenu DestroyIcon DestroyCursor DestroyAcceleratorTable
  ImageList_Destroy FreeLibrary UnhookWindowsHookEx CloseClipboard
)

# Each exception: a file, or file:function for that function only, and why.
allowed=(
  # The owners themselves.
  classlib/gui/scoped_win32.h
  classlib/core/kernel_handle.h
  # The canvas owns the selections of its font, pen and brush: it selects
  # them anew whenever they change and puts the context's own objects back
  # when it lets the context go.
  classlib/gui/canvas.cpp:SelectObject
  # The untyped file's close: the handle reaches it as a number through the
  # platform-free file layer, and a failed close is an I/O error its caller
  # must get.
  classlib/core/file_backend_win32.cpp:CloseHandle
  # The file stream owns the handle it opened but keeps it as the number its
  # platform-free base class reads and writes through.
  classlib/core/streams_win32.cpp:CloseHandle
  # Closing a file handle the caller holds as a number is this routine's
  # whole job.
  unicode/wide_sysutils_win32.cpp:CloseHandle
  # Pixwell's exported call that frees a palette it handed out; the library
  # stands alone and uses nothing of the class library.
  pixwell/palette_win32.cpp:DeleteObject
  # Owners of a kind of their own, each giving its handle back when it goes
  # or makes the handle anew: the icon picture, the menu, the image list,
  # the windowed control (whose window may also end by itself first).
  classlib/graphics/icon.cpp:DestroyIcon
  classlib/gui/menus.cpp:DestroyMenu
  classlib/comctrls/imglist.cpp:ImageList_Destroy
  classlib/gui/wincontrol.cpp:DestroyWindow
  # The Unicode unit's hook: a failed unhook is reported to the caller,
  # which an owner's quiet release would hide.
  unicode/uc_application.cpp:UnhookWindowsHookEx
)

# `releases` holds each name once and `allowed` names existing files only,
# so that a slip in either shows at once.
printf '%s\n' "${releases[@]}" | sort | uniq -d | sed 's/^/release listed twice: /' | grep . >&2 && exit 2

if git rev-parse --is-inside-work-tree >/dev/null 2>&1 && [[ $(git rev-parse --show-toplevel) == "$root" ]]; then
  mapfile -d '' files < <(git ls-files -z --cached --others --exclude-standard)
else
  mapfile -d '' files < <(find . \( -name 'build' -o -name 'build-*' -o -name '.git' \) -prune -o \( -type f -o -type l \) -print0 |
    sed -z 's|^\./||')
fi

printf '%s\0' "${files[@]}" |
  RELEASES="${releases[*]}" ALLOWED="${allowed[*]}" perl -0 -e '
use strict;
use warnings;

my %release = map { $_ => 1 } split " ", $ENV{RELEASES};
my (%allowed_file, %allowed_call);
for (split " ", $ENV{ALLOWED}) {
    if (/^(.*):(\w+)$/) {
        die "check-owners: $2 is no release function (allowed entry $_)\n" unless $release{$2};
        $allowed_call{$1}{$2} = 0;
    } else {
        $allowed_file{$_} = 1;
    }
}
my $sources = qr/\.(?:c|cc|cp|cpp|cxx|c\+\+|h|hh|hpp|hxx|h\+\+|inl|inc|ipp|tpp|tcc|ixx|cppm)$/i;

# The text with comments, string and character literals blanked out (their
# line breaks kept, so lines still count) and continued lines joined, each
# join moving its line break after the joined line.
sub code_of {
    my ($text) = @_;
    $text =~ s/\r\n?/\n/g;
    my $out = "";
    my $owed = 0;    # line breaks taken out by joins, given back at the next one
    my $i = 0;
    my $n = length $text;
    while ($i < $n) {
        my $c = substr($text, $i, 1);
        my $two = substr($text, $i, 2);
        if ($two eq "\\\n") {
            $owed++;
            $i += 2;
        } elsif ($c eq "\n") {
            $out .= "\n" x (1 + $owed);
            $owed = 0;
            $i++;
        } elsif ($two eq "//") {
            # To the end of the line; a backslash before it continues the comment.
            my $end = $i;
            while ($end < $n) {
                my $nl = index($text, "\n", $end);
                $nl = $n if $nl < 0;
                if ($nl > 0 && substr($text, $nl - 1, 1) eq "\\" && $nl < $n) {
                    $owed++;
                    $end = $nl + 1;
                } else {
                    $end = $nl;
                    last;
                }
            }
            $out .= " ";
            $i = $end;
        } elsif ($two eq "/*") {
            my $end = index($text, "*/", $i + 2);
            $end = $end < 0 ? $n : $end + 2;
            $out .= " " . ("\n" x (substr($text, $i, $end - $i) =~ tr/\n//));
            $i = $end;
        } elsif (substr($text, $i) =~ /^(?:u8|[uUL])?R"([^()\\\s]{0,16})\(/) {
            # A raw string: to its closing delimiter, escapes and all.
            my $close = ")$1\"";
            my $start = $i + length($&);
            my $end = index($text, $close, $start);
            $end = $end < 0 ? $n : $end + length $close;
            $out .= "\"\"" . ("\n" x (substr($text, $i, $end - $i) =~ tr/\n//));
            $i = $end;
        } elsif ($c eq "\"" || ($c eq "\x27" && ($i == 0 || substr($text, $i - 1, 1) !~ /[0-9A-Za-z_]/))) {
            # A string or character literal (a quote after a digit or letter
            # separates digits).
            my $j = $i + 1;
            while ($j < $n) {
                my $d = substr($text, $j, 1);
                if ($d eq "\\") { $owed++ if substr($text, $j + 1, 1) eq "\n"; $j += 2; next; }
                last if $d eq $c || $d eq "\n";
                $j++;
            }
            $out .= $c . $c;
            $i = $j < $n && substr($text, $j, 1) eq $c ? $j + 1 : $j;
        } elsif ($c =~ /[A-Za-z_0-9]/) {
            substr($text, $i) =~ /^[A-Za-z_0-9]+/;
            $out .= $&;
            $i += length $&;
        } else {
            $out .= $c;
            $i++;
        }
    }
    return $out;
}

my $found = 0;
my $checked = 0;
my %scanned;
local $/ = "\0";
while (my $file = <STDIN>) {
    chomp $file;
    next unless $file =~ $sources;
    open(my $in, "<", $file) or die "check-owners: cannot read $file: $!\n";
    my $text = do { local $/; <$in> };
    close $in or die "check-owners: cannot read $file: $!\n";
    $checked++;
    $scanned{$file} = 1;
    next if $allowed_file{$file};
    my $line = 1;
    for my $piece (split /(\n)/, code_of($text)) {
        if ($piece eq "\n") { $line++; next; }
        while ($piece =~ /(?<![A-Za-z_0-9])([A-Za-z_][A-Za-z_0-9]*)/g) {
            my $name = $1;
            next unless $release{$name};
            if (exists $allowed_call{$file}{$name}) { $allowed_call{$file}{$name}++; next; }
            print STDERR "$file:$line: $name named outside its owner; hold the resource in a scoped owner (classlib/gui/scoped_win32.h, classlib/core/kernel_handle.h)\n";
            $found = 1;
        }
    }
}
# An exception whose file no longer names its release has outlived its reason.
for my $file (grep { $scanned{$_} } sort keys %allowed_call) {
    for my $name (sort keys %{$allowed_call{$file}}) {
        next if $allowed_call{$file}{$name};
        print STDERR "check-owners: the exception $file:$name is no longer needed; take it out of tools/check-owners.sh\n";
        $found = 1;
    }
}
die "check-owners: no source file found\n" unless $checked;
exit $found;
' || {
  echo "Resource check FAILED: Win32 resources released by hand (see above)" >&2
  exit 1
}
echo "Resource check passed: no Win32 resource released by hand outside its owner"
