#!/usr/bin/env bash
# Runs every hechuan-cli subcommand against hostile input and prints a pass/fail table.
#
# Usage: scripts/hostile_sweep.sh [BUILD_DIR] [CASE_REGEX]
#   BUILD_DIR   a build folder holding cli/hechuan-cli (default build-asan, the sanitizer
#               build of .ci/run: scripts/build.sh build-asan -DHC_SANITIZE=ON -DHC_GUI=OFF)
#   CASE_REGEX  runs only the cases whose "command case" name matches (default all)
# Environment: HC_SWEEP_TIME seconds per case (default 120), HC_SWEEP_BIG_TIME seconds
# for the ten million lines (default 900: under the sanitizer a line of eval takes
# tens of microseconds), HC_SWEEP_MEM_MB peak
# resident memory per case (default 300; the sanitizer's shadow memory counts too),
# HC_SWEEP_LINES lines of the big case (default 10000000), HC_SWEEP_BYTES bytes of the
# long line (default 100000000).
#
# Each case passes when the command ends by itself within the time and memory limits,
# with status 0 or 1 (never a signal or a sanitizer report), and meets what the case
# expects besides (a refused line named on standard error, the same output for CR and
# CR LF line ends as for LF, status 1 on a closed or full output, ...). Exit status: 0
# when every case passed.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
only=${2:-}
cli=$PWD/$build/cli/hechuan-cli
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }
small_limit_s=${HC_SWEEP_TIME:-120}
big_limit_s=${HC_SWEEP_BIG_TIME:-900}
limit_s=$small_limit_s
limit_mb=${HC_SWEEP_MEM_MB:-300}
big_lines=${HC_SWEEP_LINES:-10000000}
big_bytes=${HC_SWEEP_BYTES:-100000000}
# The sanitizer keeps freed memory in a quarantine of 256 MB by default; a smaller one
# keeps the memory limit about the program's own memory.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=16:thread_local_quarantine_size_kb=256}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One good input line per subcommand and the arguments it runs with.
declare -A args line
args[eval]="eval"
line[eval]="1+2*3"
args[gk]="gk --from jw --to 6 --jobs 2"
line[gk]="A,39.5,114.2,10"
args[stats]="stats --svg /dev/null"
line[stats]="a*1*2.5*3"
args[angle]="angle --from dms --to rad"
line[angle]="45.3030"
args[split]="split"
line[split]="12.75"
args[base]="base --from 16 --to 2"
line[base]="FF.8"
args[bearing]="bearing"
line[bearing]="1,10.5,20.25,3"
args[attitude]="attitude"
line[attitude]="2,10,0,1"
args[matrix]="matrix rank -"
line[matrix]="1 2 1/3"
args[solve]="solve"
line[solve]="1 2 1/3"
args[area]="area"
line[area]="1,3527402.118,39476233.512,0"
args[regress]="regress --y 1 --x 2 --svg /dev/null"
line[regress]="1*2"
args[traverse]="traverse --type open"
line[traverse]="B,90,100"
args[reduce]="reduce --height 100"
line[reduce]="L,100,1.3000,1.5,1.5"
args[intersect]="intersect"
line[intersect]="P,45,45"
args[datum]="datum --params 7cf,tx=-15,ty=120,tz=60,rx=1,ry=-1,rz=2,s=3 --from WGS:jw --to BJ:3 --jobs 2"
line[datum]="A,39.5,114.2,10"
commands=(eval gk stats angle split base logic bearing attitude matrix solve area regress traverse
  reduce intersect datum)

# Failures known and accepted, by case name, with the reason (none at present); such a
# case is marked FAIL* and does not fail the sweep.
declare -A known

# Runs one command with input file $1, output to $2 (a file or "-" to pipe into a reader
# that closes after 10 bytes), error to $work/err; sets status, peak_mb, seconds, killed.
run_limited() {
  local input=$1 output=$2
  shift 2
  local start now pid peak=0 rss
  killed=""
  rm -f "$work/time"
  start=$(date +%s%N)
  if [ "$output" = "-" ]; then
    "$@" <"$input" 2>"$work/err" | head -c 10 >/dev/null &
  else
    /usr/bin/time -f %M -o "$work/time" "$@" <"$input" >"$output" 2>"$work/err" &
  fi
  local job=$!
  while kill -0 "$job" 2>/dev/null; do
    # The command is a child of time, or in a pipeline further down: find it by its path.
    pid=$(pgrep -n -f -- "^$cli" || echo "$job")
    rss=$(awk '/^VmRSS/ {print int($2/1024)}' "/proc/$pid/status" 2>/dev/null)
    [ -n "$rss" ] && [ "$rss" -gt "$peak" ] && peak=$rss
    if [ "$peak" -gt "$limit_mb" ]; then
      killed="memory"
      kill -9 "$pid" 2>/dev/null
    fi
    now=$(date +%s%N)
    if [ $(((now - start) / 1000000000)) -ge "$limit_s" ]; then
      killed="time"
      kill -9 "$pid" 2>/dev/null
    fi
    sleep 0.1
  done
  wait "$job"
  status=$?
  # In a pipeline, the status of the command itself, not of head.
  [ "$output" = "-" ] && status=$(cat "$work/status" 2>/dev/null || echo 137)
  now=$(date +%s%N)
  seconds=$(((now - start) / 1000000000)).$((((now - start) / 100000000) % 10))
  peak_mb=$peak
  # time(1) knows the true peak, the polling above may miss a short one.
  if [ -s "$work/time" ]; then
    local measured
    measured=$(($(tail -n 1 "$work/time" | tr -dc 0-9) / 1024))
    [ "$measured" -gt "$peak_mb" ] && peak_mb=$measured
    [ "$peak_mb" -gt "$limit_mb" ] && killed=${killed:-memory}
  fi
}

results=()
failures=0
record() {  # name verdict detail
  local name=$1 verdict=$2 detail=$3
  if [ "$verdict" = FAIL ] && [ -n "${known[$name]:-}" ]; then
    verdict="FAIL*"
    detail="$detail; known: ${known[$name]}"
  elif [ "$verdict" = FAIL ]; then
    failures=$((failures + 1))
  fi
  results+=("$(printf '%-34s %-6s %s' "$name" "$verdict" "$detail")")
}

# Common verdict: ended by itself, status 0 or 1, no sanitizer report, within limits;
# then the case's own test (a shell expression) must hold.
judge() {  # name expectation-expression
  local name=$1 expect=$2 detail
  detail="status $status, ${seconds}s, ${peak_mb} MB"
  if [ -n "$killed" ]; then
    record "$name" FAIL "$detail: over the $killed limit"
  elif [ "$status" -ne 0 ] && [ "$status" -ne 1 ]; then
    record "$name" FAIL "$detail: not status 0 or 1"
  elif grep -qE 'AddressSanitizer|LeakSanitizer|runtime error:' "$work/err"; then
    record "$name" FAIL "$detail: $(grep -m1 -E 'Sanitizer|runtime error' "$work/err")"
  elif ! eval "$expect"; then
    record "$name" FAIL "$detail: expected $expect"
  else
    record "$name" PASS "$detail"
  fi
}

wanted() { [ -z "$only" ] || [[ "$1" =~ $only ]]; }

# Inputs shared by every command (each built once, lazily).
make_big_lines() {  # command -> file of big_lines copies of its line
  local f="$work/big_$1"
  [ -f "$f" ] || yes -- "${line[$1]}" | head -n "$big_lines" >"$f"
  echo "$f"
}
make_long_line() {
  local f="$work/long_line"
  if [ ! -f "$f" ]; then
    { printf '1,'; head -c "$big_bytes" /dev/zero | tr '\0' '7'; echo; } >"$f"
  fi
  echo "$f"
}

for cmd in "${commands[@]}"; do
  if [ "$cmd" = logic ]; then
    # Operands come as arguments; the stdin cases do not apply.
    n="logic invalid bytes"
    if wanted "$n"; then
      run_limited /dev/null "$work/out" "$cli" logic 1 add $'2\xff'
      # Refused as a usage error (status 2), naming the argument.
      if [ "$status" -eq 2 ] && grep -q "argument 4 is neither UTF-8 nor GB18030" "$work/err"; then
        record "$n" PASS "status 2 (usage error), ${seconds}s, ${peak_mb} MB"
      else
        record "$n" FAIL "status $status: the argument was not refused"
      fi
    fi
    n="logic GB18030 operand"
    if wanted "$n"; then
      run_limited /dev/null "$work/out" "$cli" logic --base 16 $'\xa3\xc6' add 1
      judge "$n" 'true'
    fi
    n="logic 10000 digits"
    if wanted "$n"; then
      run_limited /dev/null "$work/out" "$cli" logic "$(head -c 10000 /dev/zero | tr '\0' 9)" mul 9
      judge "$n" '[ "$status" -eq 1 ]'
    fi
    n="logic 1e999999"
    if wanted "$n"; then
      run_limited /dev/null "$work/out" "$cli" logic 1e999999 add 1
      judge "$n" '[ "$status" -eq 1 ] || grep -q . "$work/out"'
    fi
    n="logic NUL-free long operand"
    if wanted "$n"; then
      run_limited /dev/null "$work/out" "$cli" logic --base 2 "$(head -c 100000 /dev/zero | tr '\0' 1)" and 1
      judge "$n" 'true'
    fi
    n="logic /dev/full"
    if wanted "$n"; then
      run_limited /dev/null /dev/full "$cli" logic 1 add 2
      judge "$n" '[ "$status" -eq 1 ] && grep -q "无法写出结果" "$work/err"'
    fi
    continue
  fi
  read -r -a cargs <<<"${args[$cmd]}"
  good=${line[$cmd]}
  base_lines=$(printf '%s\n%s\n' "${line[$cmd]}" "${line[$cmd]}")
  [ "$cmd" = attitude ] && base_lines=$'1,1,1,1\n2,10,0,1\n3,0,10,2'
  [ "$cmd" = bearing ] && base_lines=$'1,10.5,20.25,3\n2,1,2,3'
  [ "$cmd" = area ] && base_lines=$'1,3527402.118,39476233.512\n2,3527596.731,39476402.845\n3,3527448.26,39476650.127'
  [ "$cmd" = regress ] && base_lines=$'1*2\n2*3\n4*5'
  [ "$cmd" = traverse ] && base_lines=$'A,,,0,0\nB,90,100,100,0\nC,90,100\nD'
  [ "$cmd" = intersect ] && base_lines=$'A,0,0\nB,0,100\nP,45,45'

  n="$cmd LF baseline"
  if wanted "$n" || wanted "$cmd CR LF" || wanted "$cmd CR only"; then
    printf '%s\n' "$base_lines" >"$work/lf"
    run_limited "$work/lf" "$work/out_lf" "$cli" "${cargs[@]}"
    wanted "$n" && judge "$n" '[ "$status" -eq 0 ]'
  fi
  n="$cmd CR LF"
  if wanted "$n"; then
    printf '%s\n' "$base_lines" | sed 's/$/\r/' >"$work/crlf"
    run_limited "$work/crlf" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'cmp -s "$work/out" "$work/out_lf"'
  fi
  n="$cmd CR only"
  if wanted "$n"; then
    printf '%s\n' "$base_lines" | tr '\n' '\r' >"$work/cr"
    run_limited "$work/cr" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'cmp -s "$work/out" "$work/out_lf"'
  fi
  n="$cmd invalid UTF-8"
  if wanted "$n"; then
    printf '%s\n%s\n' "$good" "${good:0:2}"$'\xff\xfe'"${good:2}" >"$work/in"
    run_limited "$work/in" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" '[ "$status" -eq 1 ] && grep -q "第 2 行既不是 UTF-8 也不是 GB18030" "$work/err"'
  fi
  n="$cmd GB18030"
  if wanted "$n"; then
    # "点" in GB18030 in front of the line (a name, or a character the reader removes).
    printf '%s\n' "${base_lines//$'\n'/$'\n'$'\xb5\xe3'}" | sed '1s/^/\xb5\xe3/' >"$work/in"
    run_limited "$work/in" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'grep -q "GB18030" "$work/err" && [ $(grep -c "GB18030 编码读取" "$work/err") -eq 1 ]'
  fi
  n="$cmd NUL"
  if wanted "$n"; then
    printf '%s\n' "$base_lines" | sed '1s/$/\x00/; 2s/^/\x00/' >"$work/in"
    run_limited "$work/in" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'true'
  fi
  n="$cmd 10000 digits"
  if wanted "$n"; then
    digits=$(head -c 10000 /dev/zero | tr '\0' 9)
    case $cmd in
      gk) v="A,$digits,114.2,10" ;;
      stats) v="a*$digits*1" ;;
      bearing | attitude | area | datum) v="4,$digits,1,1" ;;
      regress) v="$digits*1" ;;
      *) v=$digits ;;
    esac
    printf '%s\n%s\n' "$base_lines" "$v" >"$work/in"
    run_limited "$work/in" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'true'
  fi
  n="$cmd 1e999999"
  if wanted "$n"; then
    case $cmd in
      gk) v="A,1e999999,114.2,10" ;;
      stats) v="a*1e999999*1" ;;
      bearing | attitude | area | datum) v="4,1e999999,1,1" ;;
      regress) v="1e999999*1" ;;
      *) v=1e999999 ;;
    esac
    printf '%s\n%s\n' "$base_lines" "$v" >"$work/in"
    run_limited "$work/in" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'true'
  fi
  n="$cmd nested brackets"
  if wanted "$n"; then
    { head -c 100000 /dev/zero | tr '\0' '('; printf 1; head -c 100000 /dev/zero | tr '\0' ')'; echo; } >"$work/in"
    run_limited "$work/in" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'true'
  fi
  n="$cmd 100 MB line"
  if wanted "$n"; then
    f=$(make_long_line)
    run_limited "$f" "$work/out" "$cli" "${cargs[@]}"
    judge "$n" 'grep -q "1 MiB\|10 MB" "$work/err"'
  fi
  n="$cmd ten million lines"
  if wanted "$n"; then
    f=$(make_big_lines "$cmd")
    limit_s=$big_limit_s
    run_limited "$f" /dev/null "$cli" "${cargs[@]}"
    limit_s=$small_limit_s
    judge "$n" 'true'
  fi
  n="$cmd closed stdout"
  if wanted "$n"; then
    f=$(make_big_lines "$cmd")
    rm -f "$work/status"
    # The point commands align their columns over the whole list, so they write, and
    # meet the closed pipe, only after reading all ten million lines.
    case $cmd in bearing | attitude | area) limit_s=$big_limit_s ;; esac
    run_limited "$f" - sh -c '"$@"; echo $? >"'"$work/status"'"' sh /usr/bin/time -f %M -o "$work/time" "$cli" "${cargs[@]}"
    limit_s=$small_limit_s
    judge "$n" '[ "$status" -eq 1 ] || grep -q "10 MB" "$work/err"'
  fi
  n="$cmd /dev/full"
  if wanted "$n"; then
    printf '%s\n' "$base_lines" >"$work/in"
    run_limited "$work/in" /dev/full "$cli" "${cargs[@]}"
    judge "$n" '[ "$status" -eq 1 ] && grep -q "无法写出结果" "$work/err"'
  fi
done

echo
printf '%-34s %-6s %s\n' "case" "result" "detail"
printf '%s\n' "${results[@]}"
echo
echo "limits: ${small_limit_s}s (ten million lines: ${big_limit_s}s) and ${limit_mb} MB per case;" \
  "FAIL* = a known failure, accepted"
echo "failed: $failures"
[ "$failures" -eq 0 ]
