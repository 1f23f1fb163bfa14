#pragma once
// Number texts between binary and octal, decimal and hexadecimal, the bitwise NOT
// with the sign as one more bit, and the small scanners that police key entry in
// the base window.
//
// A base text is an optional leading "-", integer digits and optionally "." with
// fraction digits; hexadecimal digits are written "A" ... "F". Binary is the hub:
// octal and hexadecimal go to and from binary digit group by digit group, decimal
// arithmetically in Decimal. Every conversion trims its input (spaces only) and
// reads the longest prefix of allowed characters; the scan stops silently at the
// first other character ("-" is allowed only first).
//
// Failure convention of the conversions: the text "把数", the trimmed input and the
// conversion's message become a notice (OK button, the application's title) in
// the caller's BaseNotes, its failure count grows by 1, and the result is the text
// "-1", which callers treat as an ordinary number: they tell a failure by the
// count. None of these routines throws.

#include <QString>

#include "engine/decimal.h"
#include "engine/notice.h"

namespace hc {

// What the conversions report beside their texts, gathered over as many calls as
// the caller passes it to.
struct BaseNotes {
    int failures = 0;
    Notices notices;  // in the order they were met
};

// Binary text -> hexadecimal text. Allowed: 0 1 - . Integer digits in groups of
// four from the right, fraction digits in groups of four from the left (a short
// last group is padded with zeros on the right, and gives no digit when it is
// all zeros). "0" for an empty scan; "-1" when a group holds a second point.
QString ZelErZhuanShiLiu(const QString& binary, BaseNotes& notes);
// Hexadecimal text (either case) -> binary text, four bits per digit (A.8 gives
// 1010.1000). Allowed after upper-casing: 0-9 A-F - . "-1" on a second point.
QString ZelShiLiuZhuanEr(const QString& hex, BaseNotes& notes);
// Binary text -> octal text, groups of three; one leading "000" of the magnitude
// (not "000.") is dropped first. "-1" on a second point.
QString ZelErZhuanBa(const QString& binary, BaseNotes& notes);
// Octal text -> binary text, three bits per digit. The scan accepts the
// hexadecimal characters (no case folding), so 8, 9 or A-F fail ("-1").
QString ZelBaZhuanEr(const QString& octal, BaseNotes& notes);
// Binary text -> decimal number text: the sum in Decimal of 2^(j-1) for each
// integer "1" and 0.5^k for each fraction "1" (powers from ZelChengFang), with
// "-" put in front when the scan began with one ("-0" is possible). "0" for an
// empty scan; "-1" when the sum leaves the Decimal range (a "1" at 2^96 or above).
QString ZelErZhuanShi(const QString& binary, BaseNotes& notes);
// Decimal number text -> binary text: integer bits from 2^95 down, then at most 92
// fraction bits by halving a Decimal weight, cut after the last "1". "0" for a
// blank text; "-1" when the text is not a number or outside the Decimal range.
QString ZelShiZhuanEr(const QString& decimal, BaseNotes& notes);
QString ZelShiZhuanEr(const Decimal& value, BaseNotes& notes);
// Bitwise NOT with the sign as one more bit: every binary digit of the magnitude
// and the sign are inverted, so NOT 5 = -2, NOT -5 = 2, NOT 0 = -1 and NOT 1 =
// "-0". Returns a decimal number text, or "-1" with the failure count raised.
QString ZelLuoJiFei(const QString& decimal, BaseNotes& notes);

// True when the text, trimmed of spaces, is a number of base 2, 8, 10 or 16 as the
// conversions read it whole: an optional "-", digits of the base (hexadecimal in either
// case) and optionally "." with more digits, at least one digit in all.
bool isBaseNumberText(const QString& text, int base);

// The trimmed text without one leading "-".
QString ZelQuFuHao(const QString& text);
// Count of "-" (ZelJianHaoShu) or "." (ZelDianHaoShu) in the trimmed, lower-cased
// text before its first "e". Nothing here can fail, so the described -1 never comes.
int ZelJianHaoShu(const QString& text);
int ZelDianHaoShu(const QString& text);
// Count of the digits in the leading run of digits, spaces, ".", "+" and "-" of
// the trimmed text (a letter such as a hexadecimal digit or an "E" ends it).
int ZelYouXiao019ChangDu(const QString& text);

}  // namespace hc
