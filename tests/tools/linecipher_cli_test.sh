#!/usr/bin/env bash
# The linecipher tool from the outside: its commands, input rules and exit codes.
# usage: linecipher_cli_test.sh LINECIPHER PREFIX_LIST
set -u
tool=$1 list=$2
failures=0 passes=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passes=$((passes + 1)); else
    failures=$((failures + 1)); printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"; fi
}

# A known entry, worked out by hand with the program key.
entry='05,36,3A,65,46,94,CF,EB,B0,65,A9,8E,48,A9,'
check "decode argument" "http://a.b/?u=" "$("$tool" decode "$entry")"
check "decode stdin drops one final newline" "http://a.b/?u=" "$(printf '%s\n' "$entry" | "$tool" decode)"
check "encode argument" "$entry" "$("$tool" encode 'http://a.b/?u=')"
check "encode stdin" "$entry" "$(printf 'http://a.b/?u=\n' | "$tool" encode)"
# Only one final line break goes; one before it is part of the text.
check "encode keeps an inner newline" "$("$tool" encode "$(printf 'a\nb')")" "$(printf 'a\nb\n' | "$tool" encode)"
two=$(printf 'x\n\n' | "$tool" encode)
check "a second line break stays" "2 bytes" "$((${#two} / 3)) bytes"
# The output ends with exactly one newline.
check "one newline after the output" "$(printf 'http://a.b/?u=\n' | od -An -c | tr -s ' ')" \
  "$("$tool" decode "$entry" | od -An -c | tr -s ' ')"

# Round trips with other keys, an empty key among them.
for key in other '' 'a much longer key than the program uses, still fine'; do
  for text in 'https://x.example/?u=' '  spaced  ' "$(printf '\xbd\xd3\xbf\xda')"; do
    stored=$("$tool" encode --key "$key" "$text")
    check "round trip key='$key' text='$text'" "$text" "$("$tool" decode --key="$key" "$stored")"
  done
done
check "a wrong key gives another text" "different" \
  "$([ "$("$tool" decode --key other "$entry")" != "http://a.b/?u=" ] && echo different)"

# The table: eleven lines, number TAB prefix, 9 and 10 the same, from the list that was built.
mapfile -t plain < <(grep -v '^[[:space:]]*#' "$list" | grep -v '^[[:space:]]*$')
expected=""
order=(1 2 3 4 5 6 7 8 9 9 10)
for n in $(seq 1 11); do expected+="$n"$'\t'"${plain[$((${order[$((n - 1))]} - 1))]}"$'\n'; done
check "table" "$expected" "$("$tool" table)"$'\n'

# Errors: exit 2, one line on stderr, nothing on stdout.
error_case() {  # error_case NAME STDIN ARGS...
  local name=$1 input=$2; shift 2
  local out err code
  out=$(printf "$input" | "$tool" "$@" 2>/tmp/linecipher_err.$$); code=$?
  err=$(cat /tmp/linecipher_err.$$); rm -f /tmp/linecipher_err.$$
  check "$name: exit code" 2 "$code"
  check "$name: no output" "" "$out"
  check "$name: one line on stderr" 1 "$(printf '%s\n' "$err" | grep -c .)"
}
error_case "no command" ''
error_case "unknown command" '' frobnicate
error_case "unknown option" '' decode --verbose AB,
error_case "--key without a value" '' encode --key
error_case "two texts" '' encode a b
error_case "table with an argument" '' table extra
error_case "zero byte in the text" 'ab\0cd' encode

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
