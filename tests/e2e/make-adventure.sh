#!/bin/bash
# Writes tests/e2e/adventure: plays the bundled scenario from an empty roster
# to the lord's reward through the real binary and keeps the keys it chose,
# one comment line per stage. Every decision is taken from the screen the
# game shows after the keys chosen so far (the current session is replayed
# from the title each time, on the game its predecessor saved), so the
# script follows the scenario when it changes. A run takes about five
# minutes.
#
#   tests/e2e/make-adventure.sh [BUILD-DIR]     (default: build)
#
# MAKE_ADVENTURE_CACHE=DIR keeps the screens it has seen in DIR, so that a
# second run after a change to the plan replays only what changed (clear
# DIR when the scenario or the game changes).
#
# Run it again whenever the sample or the game's rules change; never edit
# the keys by hand.
set -eEuo pipefail

ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
KESTRUN="$BUILD/kestrun"
FORGE="$BUILD/kestrun-forge"
OUT="$ROOT/tests/e2e/adventure"
SEED=7
# Trips to floor 1 before the quest: enough for levels 5 to 7, at which the
# party beats the bell's guardian.
TRAINING_TRIPS=20
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
trap 'echo "make-adventure: failed at line $LINENO" >&2' ERR

"$FORGE" build "$ROOT/scenarios/sample" "$WORK/saved" --new-roster >/dev/null

KEYS=""
SESSION=""
SESSIONS=1
LINE=""
SCRIPT="# session 1"$'\n'
SCREEN=""
RUNS=0

die() {
  echo "make-adventure: $*" >&2
  echo "$SCREEN" >&2
  local keep="${TMPDIR:-/tmp}/make-adventure"
  rm -rf "$keep.saved"
  cp -r "$WORK/saved" "$keep.saved"
  printf '%s' "$SESSION" >"$keep.keys"
  echo "make-adventure: the session's keys so far are in $keep.keys, the game it starts from in $keep.saved" >&2
  exit 1
}

# flush_line: ends the script's current line of keys. A space key at its end
# (which editors would drop) is carried over to the start of the next one.
flush_line() {
  local carried=""
  while [[ "$LINE" == *" " ]]; do
    LINE="${LINE% }"
    carried+=" "
  done
  [ -z "$LINE" ] || SCRIPT+="$LINE"$'\n'
  LINE="$carried"
}

# stage TEXT: starts a stage of the script with its comment.
stage() {
  flush_line
  SCRIPT+="# stage: $*"$'\n'
  echo "stage: $*" >&2
}

# press KEYS: the party's next keys, in the key script's notation.
press() {
  KEYS+="$1"
  SESSION+="$1"
  LINE+="$1"
  if [ "${#LINE}" -gt 72 ]; then flush_line; fi
}

# look: replays the session's keys so far on a copy of the game as the last
# session saved it, and reads the screen the game waits at.
look() {
  local cached=""
  if [ -n "${MAKE_ADVENTURE_CACHE:-}" ]; then
    mkdir -p "$MAKE_ADVENTURE_CACHE"
    cached="$MAKE_ADVENTURE_CACHE/$(printf '%s %s' "$SEED" "$KEYS" | md5sum | cut -d' ' -f1)"
    if [ -f "$cached" ]; then
      SCREEN="$(cat "$cached")"
      return
    fi
  fi
  rm -rf "$WORK/game"
  cp -r "$WORK/saved" "$WORK/game"
  printf '%s' "$SESSION" >"$WORK/keys"
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed "$SEED" \
    --keys-file "$WORK/keys" --dump-screen "$WORK/screen.txt" ||
    die "exit status $? after ${#KEYS} keys"
  SCREEN="$(head -n 24 "$WORK/screen.txt")"
  RUNS=$((RUNS + 1))
  [ -z "$cached" ] || printf '%s' "$SCREEN" >"$cached"
}

# next_session: from the town menu, saves and ends the game; the next
# session starts again at the title with what was saved. (Replaying one
# session is quick; replaying the whole adventure at every look is not.)
next_session() {
  press "0"
  local cache="${MAKE_ADVENTURE_CACHE:-}"
  MAKE_ADVENTURE_CACHE=""
  look
  MAKE_ADVENTURE_CACHE="$cache"
  rm -rf "$WORK/saved"
  mv "$WORK/game" "$WORK/saved"
  flush_line
  SESSIONS=$((SESSIONS + 1))
  SCRIPT+="# session $SESSIONS"$'\n'
  KEYS+="|"
  SESSION=""
  press "1{Enter}"
}

shows() { [[ "$SCREEN" == *"$1"* ]]; }

# expect TEXT: the screen must show TEXT now.
expect() { shows "$1" || die "expected \"$1\""; }

# The party's panel rows (name, class, alignment, AC, HP / max, status),
# as "name hp max status" lines.
party_rows() {
  awk '$0 ~ /[0-9]+ \/ +[0-9]+/ && NF >= 6 {
         if ($1 ~ /^[0-9]+$/) $1 = $2
         for (i = 1; i <= NF; i++) if ($i == "/") { hp = $(i - 1); max = $(i + 1); st = $(i + 2) }
         print $1, hp, max, st }' <<<"$SCREEN"
}

# repeat N TEXT: TEXT N times.
repeat() {
  local n="$1" out=""
  for ((; n > 0; n--)); do out+="$2"; done
  printf '%s' "$out"
}

# create NAME ALIGNMENT SEX RACE CLASS STAT...: a new character in the
# training grounds (alignment, sex and race by their keys); the bonus
# points go to the stats in the order given, each as far as it rises.
create() {
  local name="$1" alignment="$2" sex="$3" race="$4" class="$5" stat bonus number
  shift 5
  press "1$name{Enter}$alignment$sex$race"
  for stat in "$@"; do
    look
    bonus="$(grep -oE 'ボーナスポイント +[0-9]+' <<<"$SCREEN" | grep -oE '[0-9]+$')" ||
      die "no bonus points"
    [ "$bonus" -gt 0 ] || break
    press "$stat$(repeat "$bonus" 1)0"
  done
  press "0Y{Enter}"
  look
  expect "どのクラスにしますか"
  number="$(grep -oE "[0-9]+ +$class" <<<"$SCREEN" | head -n 1 | cut -d' ' -f1)"
  [ -n "$number" ] || die "$name cannot become $class"
  press "$number{Enter}"
  look
  expect "キャラクターを新規に作成する"
}

# buy MEMBER ITEM...: the member (by his place in the party) buys the items
# (by their shop numbers) in Bold's shop.
buy() {
  local member="$1" item
  shift
  press "${member}1"
  for item in "$@"; do press "$item{Enter}"; done
  press "0{Enter}0"
}

# equip MEMBER...: in the camp, each member puts on whatever he can of each
# kind.
equip() {
  local member
  press "1"
  for member in "$@"; do
    press "${member}4"
    look
    while shows "はどれを使用しますか"; do
      press "1"
      look
    done
    press "0"
  done
  press "0"
  look
  expect "パーティーは休息しています"
}

# Where the party is: floor, x, y and facing (0 north, 1 east, 2 south,
# 3 west), kept up to date as it walks and read from the map when in doubt.
FLOOR=0
X=0
Y=0
FACING=0
DIRECTIONS=(北 東 南 西)

# exploring: the screen shows the dungeon, only the party's panel in text.
exploring() {
  local rows
  rows="$(grep -cvE '^ *$|^ +[1-6] +[^ ]+ +.+[0-9]+ / +[0-9]+' <<<"$SCREEN" || true)"
  [ "$rows" = 0 ] && grep -qE '^ +1 +[^ ]+ ' <<<"$SCREEN"
}

# where: reads floor, position and facing from the floor's map.
where() {
  press "V"
  look
  expect "の所にいます"
  FLOOR="$(grep -oE '地下 [0-9]+ 階' <<<"$SCREEN" | grep -oE '[0-9]+')"
  Y="$(grep -oE '北に +[0-9]+' <<<"$SCREEN" | grep -oE '[0-9]+$')"
  X="$(grep -oE '東に +[0-9]+' <<<"$SCREEN" | grep -oE '[0-9]+$')"
  local d
  for d in 0 1 2 3; do
    if shows "${DIRECTIONS[d]}を向いています"; then FACING="$d"; fi
  done
  press " "
  settle
}

# turn DIRECTION: the party turns to face it (0..3).
turn() {
  case $((($1 - FACING + 4) % 4)) in
    1) press "6" ;;
    2) press "2" ;;
    3) press "4" ;;
  esac
  FACING="$1"
}

# The number of members the battle will ask for a command: those whose
# status column is still empty.
to_command() {
  party_rows | awk 'NF == 3 { n++ } END { print n + 0 }'
}

# settle: plays on until the party explores again: battles fought with
# each member's default (the front rank fights, the back rank guards),
# spoils taken, messages passed.
settle() {
  while true; do
    look
    if exploring; then return; fi
    if shows "は どうしますか"; then
      press "$(repeat "$(to_command)" '{Enter}')y"
    elif shows "よろしいですか"; then
      press "y"
    elif shows "交渉する" || shows "グループを攻撃しますか"; then
      press "1"
    elif shows "宝箱をどうしますか"; then
      open_chest
    elif shows "Hit Any Key"; then
      press " "
    else
      return 0
    fi
  done
}

# step [KEY]: one square forward (8, or K through the door ahead), then
# whatever happens there.
step() {
  press "${1:-8}"
  case "$FACING" in
    0) Y=$(((Y + 1) % 20)) ;;
    1) X=$(((X + 1) % 20)) ;;
    2) Y=$(((Y + 19) % 20)) ;;
    3) X=$(((X + 19) % 20)) ;;
  esac
  settle
}

# walk DIRECTION SQUARES: straight on for that many squares.
walk() {
  local n
  turn "$1"
  for ((n = 0; n < $2; n++)); do step; done
}

# through_door DIRECTION: opens the door ahead and steps through it.
through_door() {
  turn "$1"
  step K
}

# open_chest: the first member forces the chest open, whatever its trap.
open_chest() {
  press "11"
}

# run_to DIRECTION: runs that way until a wall or a battle stops the party.
run_to() {
  turn "$1"
  press "G"
  settle
  where
}

# worn_out: someone fell or is not well, or the party has lost much of its
# hit points: time to go home.
worn_out() {
  party_rows | awk '{ hp += $2; max += $3 } $4 != "正常" || $2 * 3 <= $3 { out = 1 }
    END { exit !(out || hp * 10 < max * 6) }'
}

# The most wounded of the standing members, by his place in the panel on
# the screen (0: nobody is wounded).
most_wounded() {
  party_rows | awk '$4 == "正常" && $2 < $3 { r = $2 / $3; if (!n || r < best) { best = r; n = NR } }
    END { print n + 0 }'
}

# spell_points: the first level's spell points left, on a member's sheet.
spell_points() {
  awk 'NF == 10 { for (i = 1; i <= NF; i++) if ($i !~ /^[0-9]+$/) next; print $1; exit }' <<<"$SCREEN"
}

# make_camp: the party rests (making camp is a step of its own: monsters may
# come first).
make_camp() {
  while true; do
    press "Z"
    settle
    shows "パーティーは休息しています" && return 0
    exploring || die "no camp"
  done
}

# camp_heal: in the camp, the priests heal the wounded as long as their
# spell points last.
camp_heal() {
  local priest target
  make_camp
  for priest in $(party_rows | awk '($1 == "Sefa" || $1 == "Kell") && $4 == "正常" { print NR }'); do
    [ "$(most_wounded)" != 0 ] || break
    press "1$priest"
    look
    while [ "$(spell_points)" -gt 0 ]; do
      press "11{Enter}"
      look
      expect "呪文の対象はだれにしますか"
      target="$(most_wounded)"
      press "$target"
      [ "$target" != 0 ] || break
      look
    done
    press "00"
    look
  done
  press "0"
  look
}

# train_trip: from the stairs up of floor 1, up and down the corridor until
# the party is worn out, then home.
train_trip() {
  to_corridor
  while true; do
    if worn_out; then
      camp_heal
      worn_out && break
    fi
    if [ "$Y" = 1 ]; then run_to 0; else run_to 2; fi
  done
  home_from_corridor
}

# Back from anywhere in the corridor to the stairs up, and up into town.
home_from_corridor() {
  [ "$Y" = 1 ] || run_to 2
  while [ "$Y" != 1 ]; do run_to 2; done
  walk 3 5
  through_door 3
  walk 3 2
  expect "登りますか"
  press "Y"
  look
  expect "どこへ行きますか"
}

# into_dungeon: from the town menu down to the stairs of floor 1.
into_dungeon() {
  press "7"
  look
  expect "パーティーは休息しています"
  press "0N"
  X=1 Y=1 FACING=0 FLOOR=1
  where
}

# in_town: levels at the castle, the dead raised at the temple, the wounded
# rested at the inn.
in_town() {
  gather 1
  temple
  regroup
  castle
  inn
}

# gather MEMBER: the member collects the party's gold, at Bold's shop.
gather() {
  press "2${1}300"
}

# temple: the dead raised, one after the other, paid by the first member
# (who holds the party's gold) while it lasts.
temple() {
  local fee payer
  press "4"
  while true; do
    press "1"
    look
    shows "だれを助けますか" || break
    press "1{Enter}"
    look
    expect "料金を支払いますか"
    fee="$(grep -oE '祈祷料は +[0-9]+' <<<"$SCREEN" | grep -oE '[0-9]+$')"
    payer="$(awk -v fee="$fee" '/Ｎ|Ｇ|Ｅ/ && $NF ~ /^[0-9]+$/ { n++; if (n == 1 && $NF >= fee) who = 1 }
      END { print who + 0 }' <<<"$SCREEN")"
    press "$payer"
    [ "$payer" != 0 ] || break
  done
  press "0"
  look
  expect "どこへ行きますか"
}

# regroup: when someone has come back from the temple, the party is formed
# again in its first order, fighters in front.
regroup() {
  local size waiting
  press "1"
  look
  size="$(grep -cE '^ {40,}[1-6] [^ ]' <<<"$SCREEN" || true)"
  waiting="$(grep -cE '^ ?[1-9] [^ ]' <<<"$SCREEN" || true)"
  if [ "$waiting" -gt 0 ]; then
    press "$(repeat "$size" 31)$(repeat $((size + waiting)) '21{Enter}')"
  fi
  press "0"
  look
  expect "どこへ行きますか"
}

# inn: each member takes the party's gold and rests in the common room
# until his wounds are healed (his spells come back with it), or only in
# the lobby when he cannot pay.
inn() {
  local member
  for member in $(seq "$(party_rows | wc -l)"); do
    gather "$member"
    press "3$member"
    look
    expect "はどこで休みますか"
    if [ "$(grep -oE '所持金 +[0-9]+' <<<"$SCREEN" | grep -oE '[0-9]+$')" -ge 50 ] &&
      grep -E 'ＨＰ +[0-9]+ / +[0-9]+' <<<"$SCREEN" | awk '{ exit !($2 < $4) }'; then
      press "2"
    else
      press "1"
    fi
    look
    while ! shows "誰が入りますか"; do
      if shows "Hit Any Key"; then press " "; else die "at the inn"; fi
      look
    done
    press "0"
  done
  look
  expect "どこへ行きますか"
}

# castle: every member is judged for his level, again as long as he rises.
castle() {
  press "5 "
  judge_members
}

# judge_members: at the castle's question who comes in, each member in turn.
judge_members() {
  local member
  for member in $(seq "$(party_rows | wc -l)"); do
    press "$member"
    look
    while true; do
      if shows "不足です"; then
        press "N"
        break
      elif shows "さらにレベル判定"; then
        press "Y"
      elif shows "Hit Any Key"; then
        press " "
      else
        die "at the castle"
      fi
      look
    done
  done
  press "0"
  look
  expect "どこへ行きますか"
}

# From the stairs up of floor 1 to the foot of the long corridor north
# (x = 9), the training ground: random encounters all along it.
to_corridor() {
  walk 1 2
  through_door 1
  walk 1 5
}

plan() {
  stage "a party of six in the training grounds"
  press "1{Enter}6"
  create Garo 2 1 3 衛士 1 2 5 7
  create Bran 2 1 3 衛士 1 2 5 7
  create Dunk 2 1 3 衛士 1 2 5 7
  create Sefa 2 1 2 祈り手 4 2 5 7
  create Ilsa 2 1 4 星読み 3 2 5 7
  create Kell 2 1 2 祈り手 4 2 5 7
  press "01$(repeat 6 '21{Enter}')0"
  look
  expect "地下迷宮に入る"

  stage "arms and armour from Bold's shop"
  press "2"
  buy 1 3 8 12 14
  buy 2 3 8 12 14
  buy 3 3 8 12 14
  buy 4 4 8 12 14
  buy 5 5 8 14
  buy 6 4 8 12 14
  press "0"

  stage "into the dungeon; everybody puts his things on in the camp"
  press "72{Enter}"
  look
  expect "パーティーは休息しています"
  equip 1 2 3 4 5 6
  press "0N"
  where
  local trip
  for ((trip = 1; trip <= TRAINING_TRIPS; trip++)); do
    stage "training, trip $trip: up and down floor 1's long corridor until worn out, then home"
    [ "$trip" = 1 ] || into_dungeon
    train_trip
    stage "training, trip $trip: the temple, the castle's judgement, the inn, and the game saved"
    in_town
    next_session
  done
  quest
}

quest() {
  stage "down the stairs of floor 1"
  into_dungeon
  walk 1 2
  through_door 1
  walk 1 5
  walk 0 4
  walk 1 4
  through_door 1
  walk 1 4
  expect "下りますか"
  press "Y"
  settle
  where
  [ "$FLOOR" = 2 ] || die "not on floor 2"

  stage "west along floor 2's gallery to the elevator"
  walk 3 4
  through_door 3
  walk 3 7
  camp_heal
  walk 3 1
  expect "どの階へ行きますか"
  press "3{Enter}"
  settle
  FLOOR=3

  stage "floor 3, without map or spells: north, then east to the bell's guardian"
  walk 0 4
  walk 1 9

  stage "the great key past the great frog, and the teleport home"
  walk 1 3
  through_door 1
  expect "どこへ行きますか"

  stage "home: the fallen raised, the great key identified at the shop"
  gather 1
  temple
  regroup
  identify 大きな鍵

  stage "the great key handed to the lord, the reward"
  press "5"
  look
  expect "献上しますか"
  press "Y"
  judge_members

  stage "levels for the reward, the fallen raised, the shield identified, a rest, the game saved"
  gather 1
  temple
  regroup
  identify 光る盾
  castle
  inn
  press "0"
  look
}

# identify NAME...: at Bold's shop, the member who carries the first of
# these unknown items collects the party's gold and has each of them
# identified.
identify() {
  local member name number
  press "2"
  for member in 1 2 3 4 5 6; do
    press "$member"
    look
    if shows "$1"; then
      press "34"
      for name in "$@"; do
        look
        expect "どのアイテムを鑑別しますか"
        number="$(grep -oE "[0-9]+ +\*? *$name" <<<"$SCREEN" | cut -d' ' -f1)"
        [ -n "$number" ] || die "no $name to identify"
        press "$number{Enter}"
        settle
      done
      press "0{Enter}"
      look
      expect "は何をしますか"
      press "00"
      look
      expect "どこへ行きますか"
      return
    fi
    press "0"
  done
  die "nobody carries $1"
}

plan

flush_line
{
  echo "# The adventure of the bundled scenario, from an empty roster to the lord's"
  echo "# reward. Written by tests/e2e/make-adventure.sh: run it again when the"
  echo "# scenario or the rules change, never edit the keys by hand."
  echo "# Lines starting with # are comments; the other lines are keys, joined"
  echo "# without their line ends. Each session starts at the title with the"
  echo "# seed below and plays on from what the session before it saved."
  echo "# seed: $SEED"
  printf '%s' "$SCRIPT"
} >"$OUT"
echo "make-adventure: ${#KEYS} keys in $SESSIONS sessions, the game run $RUNS times, written to $OUT" >&2
