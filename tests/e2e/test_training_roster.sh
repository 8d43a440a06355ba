# Working on existing characters in the training grounds: the list, the
# sheet, renaming, deleting with its refusals, reordering, class change, the
# experience table, deleting everyone and starting anew.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"

# Six characters: Aldo and ベラ in the party, Cid lost in town, Dora left in
# the dungeon, Eve dead, Finn lost in the dungeon. Every session starts
# from this roster.
fresh_roster() {
  rm -rf "$WORK/dir"
  "$FORGE" build "$TESTS/data/training-roster" "$WORK/dir" --new-roster >/dev/null ||
    fail "cannot build the roster"
}

# Plays KEYS on a fresh roster and leaves the last screen in $WORK/screen.txt.
play() {
  fresh_roster
  run_headless "$1" --dump-screen "$WORK/screen.txt"
  [ "$STATUS" = 0 ] || fail "exit status $STATUS after: $1"
}

shows() {
  grep -q -- "$1" "$WORK/screen.txt" || fail "the screen does not show \"$1\""
}

LIST="G{Enter}62"
play "$LIST"
check_golden "$WORK/screen.txt" training-list.txt

# A party member's sheet: equipment marks, armour class, weight.
play "${LIST}1{Enter}1"
check_golden "$WORK/screen.txt" training-sheet-member.txt

# Renaming on the list, and on the sheet after looking.
play "${LIST}1{Enter}2Alfred{Enter}"
shows " 1 Alfred "
play "${LIST}1{Enter}1 2Al{Enter}"
check_golden "$WORK/screen.txt" training-rename-sheet.txt
play "${LIST}1{Enter}2{Enter}"
shows " 1 Aldo "

# Only the lost can be deleted, and only in town.
play "${LIST}1{Enter}3"
shows "削除できるのは消失したキャラクターだけです !"
play "${LIST}6{Enter}3"
shows "削除できるのは街にいるキャラクターだけです !"
play "${LIST}3{Enter}3N{Enter}"
shows " 3 Cid "
play "${LIST}3{Enter}3Y{Enter}"
check_golden "$WORK/screen.txt" training-list-deleted.txt

# Aldo and ベラ change places; the party still marches Aldo first.
play "${LIST}1{Enter}42{Enter}0{Enter}0"
check_golden "$WORK/screen.txt" training-reorder-town.txt

# No class change in the dungeon; Aldo becomes a thief.
play "${LIST}4{Enter}5"
if grep -q "新しいクラスは" "$WORK/screen.txt"; then fail "class change offered in the dungeon"; fi
play "${LIST}1{Enter}54{Enter}"
check_golden "$WORK/screen.txt" training-class-change.txt

play "G{Enter}63"
check_golden "$WORK/screen.txt" training-experience-1.txt
play "G{Enter}63 "
check_golden "$WORK/screen.txt" training-experience-2.txt

# A new game keeps the characters as they are.
play "G{Enter}65Y{Enter}21{Enter}1"
check_golden "$WORK/screen.txt" training-sheet-member.txt

# Deleting everyone dims the options that need a character; they do nothing.
play "G{Enter}64Y{Enter}"
check_golden "$WORK/screen.txt" training-menu-empty.txt
play "G{Enter}64Y{Enter}24"
check_golden "$WORK/screen.txt" training-menu-empty.txt
