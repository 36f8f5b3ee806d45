#include "analysis/normalize.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace vorel::analysis {
namespace {

NormalizeOptions AllOff() {
  NormalizeOptions o;
  o.codeChange = o.ignoreIndex = o.ignoreQuestion = o.ignoreSharp = o.ignorePortNo = o.smallize = false;
  o.specifyHost = o.ignoreHost = o.ignoreIP = o.specifyClass = false;
  return o;
}

const std::vector<std::string> kNoList;

TEST(NormalizeRef, PercentEscapesAreDecodedAndBadOnesDropped) {
  NormalizeOptions o = AllOff();
  o.codeChange = true;
  EXPECT_EQ(NormalizeRef("a%7eb%zzc", o, kNoList), "a~bc");
  EXPECT_EQ(NormalizeRef("%25%41", o, kNoList), "%A");         // a decoded "%" is not decoded again
  EXPECT_EQ(NormalizeRef("x%4", o, kNoList), "x\x04");          // fewer than two characters: what there is
  EXPECT_EQ(NormalizeRef("x%", o, kNoList), "x");
  EXPECT_EQ(NormalizeRef("q=%93%FA%8BL", o, kNoList), "q=日記");  // CP932 bytes, the last one plain
  EXPECT_EQ(NormalizeRef("%82%A0%82", o, kNoList), "あ\xEF\xBF\xBD");
  EXPECT_EQ(NormalizeRef("no escapes", o, kNoList), "no escapes");
}

TEST(NormalizeRef, IndexNamesAreCutWhateverTheirCase) {
  NormalizeOptions o = AllOff();
  o.ignoreIndex = true;
  EXPECT_EQ(NormalizeRef("/Index.HTML?x=1", o, {"index.html"}), "/");
  EXPECT_EQ(NormalizeRef("/dir/Index.html", o, {"index"}), "/dir/");
  EXPECT_EQ(NormalizeRef("http://a/b", o, {""}), "");  // an empty entry matches at the first character
  EXPECT_EQ(NormalizeRef("http://a/b", o, kNoList), "http://a/b");
}

TEST(NormalizeRef, PortNumbersGoButTheSchemeColonStays) {
  NormalizeOptions o = AllOff();
  o.ignorePortNo = true;
  EXPECT_EQ(NormalizeRef("http://host:8080/path", o, kNoList), "http://host/path");
  EXPECT_EQ(NormalizeRef("http://host:8080", o, kNoList), "http://host");
  EXPECT_EQ(NormalizeRef("http://host:0/p", o, kNoList), "http://host:0/p");
  EXPECT_EQ(NormalizeRef("http://host:080/p", o, kNoList), "http://host:080/p");
  EXPECT_EQ(NormalizeRef("http://host:-5/p", o, kNoList), "http://host/p");
  EXPECT_EQ(NormalizeRef("http://host:80x/p", o, kNoList), "http://host:80x/p");
  // Of two qualifying parts only the last is removed.
  EXPECT_EQ(NormalizeRef("http://a:1/b:2/c", o, kNoList), "http://a:1/b/c");
}

TEST(NormalizeRef, EverySwitchOnGivesTheLowerCaseFolder) {
  NormalizeOptions o;  // defaults: decode, index, question, sharp, port on
  o.smallize = true;
  EXPECT_EQ(NormalizeRef("HTTP://WWW.Example.COM:80/Dir/index.html?q#top", o, {"index.html"}),
            "http://www.example.com/dir/");
  EXPECT_EQ(NormalizeRef("http://Ａ.jp/#x?y", o, kNoList), "http://ａ.jp/");
}

TEST(MakeHostKey, HostNamesKeepTheirLastLabels) {
  NormalizeOptions o = AllOff();
  EXPECT_EQ(MakeHostKey("4#h(1.2.3.4)", o, kNoList), "h");
  EXPECT_EQ(MakeHostKey("4#b.c(1.2.3.4)", o, kNoList), "*.c");
  EXPECT_EQ(MakeHostKey("4#a.b.c(1.2.3.4)", o, kNoList), "*.b.c");
  EXPECT_EQ(MakeHostKey("4#a.b.c.d(1.2.3.4)", o, kNoList), "*.b.c.d");
  EXPECT_EQ(MakeHostKey("4#a.b.c.d.e(1.2.3.4)", o, kNoList), "*.c.d.e");
  EXPECT_EQ(MakeHostKey("4#P1.Dion.NE.jp(1.2.3.4)", o, kNoList), "*.Dion.NE.jp");
  o.smallize = true;
  EXPECT_EQ(MakeHostKey("4#P1.Dion.NE.jp(1.2.3.4)", o, kNoList), "*.dion.ne.jp");
}

TEST(MakeHostKey, AddressesAreGroupedByClass) {
  NormalizeOptions o = AllOff();
  o.specifyClass = true;
  EXPECT_EQ(MakeHostKey("4#(10.1.2.3)", o, kNoList), "10.*.*.*");
  EXPECT_EQ(MakeHostKey("4#(126.1.2.3)", o, kNoList), "126.*.*.*");
  EXPECT_EQ(MakeHostKey("4#(127.1.2.3)", o, kNoList), "127.1.*.*");
  EXPECT_EQ(MakeHostKey("4#(172.16.5.4)", o, kNoList), "172.16.*.*");
  EXPECT_EQ(MakeHostKey("4#(192.168.1.20)", o, kNoList), "192.168.1.*");
  EXPECT_EQ(MakeHostKey("4#(230.1.2.3)", o, kNoList), "230.1.2.3");
  EXPECT_EQ(MakeHostKey("4#(010.1.2.3)", o, kNoList), "10.*.*.*");
  EXPECT_EQ(MakeHostKey("4#(230.1.2.3.9)", o, kNoList), "230.1.2.3");  // parts past the fourth play no part
  EXPECT_EQ(MakeHostKey("4#(192.168.1)", o, kNoList), "");
  // A host name that is itself an address is keyed by the address in brackets.
  EXPECT_EQ(MakeHostKey("4#1.2.3.4(192.168.1.20)", o, kNoList), "192.168.1.*");
  o.specifyClass = false;
  EXPECT_EQ(MakeHostKey("4#(010.1.2.3)", o, kNoList), "010.1.2.3");
  EXPECT_EQ(MakeHostKey("4#(1.2)", o, kNoList), "1.2");  // malformed: kept as far as it goes
}

TEST(MakeHostKey, IgnoreIpRejectsAddressOnlyRecords) {
  NormalizeOptions o = AllOff();
  o.ignoreIP = true;
  EXPECT_EQ(MakeHostKey("4#(10.1.2.3)", o, kNoList), "");
  EXPECT_EQ(MakeHostKey("4#a.b.c(10.1.2.3)", o, kNoList), "*.b.c");
}

TEST(HostFilter, OnlyListedOrAllButListed) {
  const std::vector<std::string> list = {"ocn.ne.jp", "p1"};
  EXPECT_EQ(FilterHostList("4#P1.OCN.ne.jp(1.2.3.4)", false, list), "4#P1.OCN.ne.jp(1.2.3.4)");  // contains both
  EXPECT_EQ(FilterHostList("4#p2.ocn.ne.jp(1.2.3.4)", false, list), "");
  EXPECT_EQ(FilterHostList("4#p2.ocn.ne.jp(1.2.3.4)", true, list), "");
  EXPECT_EQ(FilterHostList("4#x.dion.ne.jp(1.2.3.4)", true, list), "4#x.dion.ne.jp(1.2.3.4)");
  EXPECT_EQ(FilterHostList("4#anything", true, {}), "4#anything");

  NormalizeOptions o = AllOff();
  o.specifyHost = true;
  EXPECT_EQ(MakeHostKey("4#p2.dion.ne.jp(1.2.3.4)", o, list), "");
  EXPECT_EQ(MakeHostKey("4#p1.ocn.ne.jp(1.2.3.4)", o, list), "*.ocn.ne.jp");
}

TEST(NumberText, ReadsTheLeadingNumber) {
  EXPECT_EQ(NumberTextOf("8080"), "8080");
  EXPECT_EQ(NumberTextOf(""), "0");
  EXPECT_EQ(NumberTextOf("jp"), "0");
  EXPECT_EQ(NumberTextOf("x1"), "0");
  EXPECT_EQ(NumberTextOf(" \t12"), "12");
  EXPECT_EQ(NumberTextOf("0080"), "80");
  EXPECT_EQ(NumberTextOf("1a"), "1");
  EXPECT_EQ(NumberTextOf("-5"), "-5");
  EXPECT_EQ(NumberTextOf("1.5"), "1.5");
  EXPECT_EQ(NumberTextOf("000"), "0");
  EXPECT_EQ(NumberTextOf("12 3"), "123");
  EXPECT_EQ(NumberTextOf("2e2"), "200");
  EXPECT_EQ(NumberTextOf("007)"), "7");
  EXPECT_EQ(NumberTextOf("123456789012345"), "123456789012345");
  EXPECT_EQ(NumberTextOf("1234567890123456"), "1.23456789012346e+15");
}

TEST(MakeHostKey, Ipv6AddressesAreGroupedByTheirSlash48) {
  NormalizeOptions o = AllOff();
  o.specifyClass = true;
  EXPECT_EQ(MakeHostKey("4#(2001:DB8:0a:1::5)", o, kNoList), "2001:db8:a:*");
  EXPECT_EQ(MakeHostKey("4#(::1)", o, kNoList), "0:0:0:*");
  EXPECT_EQ(MakeHostKey("4#(::)", o, kNoList), "0:0:0:*");
  EXPECT_EQ(MakeHostKey("4#(2400:4051::)", o, kNoList), "2400:4051:0:*");
  EXPECT_EQ(MakeHostKey("4#(2001:0db8:0000:0042:0000:8a2e:0370:7334)", o, kNoList), "2001:db8:0:*");
  EXPECT_EQ(MakeHostKey("4#(64:ff9b:1::192.0.2.1)", o, kNoList), "64:ff9b:1:*");
  // The host name path is untouched; an address written as the name goes by the address.
  EXPECT_EQ(MakeHostKey("4#v6.example.ne.jp(2001:db8::1)", o, kNoList), "*.example.ne.jp");
  EXPECT_EQ(MakeHostKey("4#2001:db8:1::1(2001:db8:1::1)", o, kNoList), "2001:db8:1:*");
  // Not IPv6: keyed as written.
  for (const char* address : {"1:2:3:4:5:6:7:8:9", "2001:db8::1::2", "12345::1", "2001:db8:::1", ":1:2:3:4:5:6:7",
                              "1:2:3:4:5:6:7:", "fe80::1%eth0", "g::1", "::1.2.3", "::1.2.3.256", "1:2:3:4:5:6:7::8",
                              "1:2:3:4:5:6:7:1.2.3.4"})
    EXPECT_EQ(MakeHostKey(std::string("4#(") + address + ")", o, kNoList), address) << address;
  // Without class grouping every address is keyed as written.
  o.specifyClass = false;
  EXPECT_EQ(MakeHostKey("4#(2001:DB8:0a:1::5)", o, kNoList), "2001:DB8:0a:1::5");
}

TEST(MakeHostKey, Ipv4MappedAddressesAreTheirIpv4Address) {
  NormalizeOptions o = AllOff();
  const struct {
    const char* record;
    const char* grouped;
    const char* plain;
  } rows[] = {
      {"4#(::ffff:192.0.2.1)", "192.0.2.*", "192.0.2.1"},
      {"4#(::FFFF:10.1.2.3)", "10.*.*.*", "10.1.2.3"},
      {"4#(0:0:0:0:0:ffff:c000:0207)", "192.0.2.*", "192.0.2.7"},
      {"4#(::ffff:0:192.0.2.1)", "0:0:0:*", "::ffff:0:192.0.2.1"},  // IPv4-translated: IPv6 still
      {"4#(::192.0.2.1)", "0:0:0:*", "::192.0.2.1"},
  };
  for (const auto& row : rows) {
    o.specifyClass = true;
    EXPECT_EQ(MakeHostKey(row.record, o, kNoList), row.grouped) << row.record;
    o.specifyClass = false;
    EXPECT_EQ(MakeHostKey(row.record, o, kNoList), row.plain) << row.record;
  }
}

TEST(MakeHostKey, MalformedRecordsGiveNoKey) {
  NormalizeOptions o = AllOff();
  EXPECT_EQ(MakeHostKey("4#", o, kNoList), "");
  EXPECT_EQ(MakeHostKey("4#1.2.3.4", o, kNoList), "");
  EXPECT_EQ(MakeHostKey("4#host.example.jp", o, kNoList), "");
  EXPECT_EQ(MakeHostKey("4#(", o, kNoList), "");
  o.specifyClass = true;
  EXPECT_EQ(MakeHostKey("4#1.2.3.4", o, kNoList), "");
  // An IPv4 address of fewer than four parts builds nothing under class grouping.
  EXPECT_EQ(MakeHostKey("4#(1.2)", o, kNoList), "");
  EXPECT_EQ(MakeHostKey("4#(1.2.3)", o, kNoList), "");
  EXPECT_EQ(MakeHostKey("4#()", o, kNoList), "");
  EXPECT_EQ(MakeHostKey("4#(1.2.3.4)", o, kNoList), "1.*.*.*");
}

TEST(MakeHostKey, TheLastCharacterGoesWholeEvenWhenItIsNotAscii) {
  NormalizeOptions o = AllOff();
  EXPECT_EQ(MakeHostKey("4#(230.1.2.3）", o, kNoList), "230.1.2.3");
  EXPECT_EQ(MakeHostKey("4#(230.1.2.3\xF0\x9F\x98\x80", o, kNoList), "230.1.2.3");
  EXPECT_EQ(MakeHostKey("4#(230.1.2.3)", o, kNoList), "230.1.2.3");
  // A malformed tail byte is one character.
  EXPECT_EQ(MakeHostKey("4#(230.1.2.3\x9F", o, kNoList), "230.1.2.3");
  EXPECT_EQ(MakeHostKey("4#(\xE3\x81\x82x", o, kNoList), "あ");
  o.specifyClass = true;
  EXPECT_EQ(MakeHostKey("4#(230.1.2.3）", o, kNoList), "230.1.2.3");
}

TEST(NormalizeRef, PercentEscapesInUtf8AreDecodedAsUtf8) {
  NormalizeOptions o = AllOff();
  o.codeChange = true;
  EXPECT_EQ(NormalizeRef("http://h/%E6%97%A5", o, kNoList), "http://h/日");
  EXPECT_EQ(NormalizeRef("q=%E6%97%A5%E8%A8%98&x", o, kNoList), "q=日記&x");
  EXPECT_EQ(NormalizeRef("%41%E2%82%AC", o, kNoList), "A€");
  EXPECT_EQ(NormalizeRef("%F0%9F%98%80", o, kNoList), "\xF0\x9F\x98\x80");
  // Not UTF-8: the code page as before, also for a run that mixes both.
  EXPECT_EQ(NormalizeRef("%93%FA%8B%4C", o, kNoList), "日記");
  EXPECT_EQ(NormalizeRef("%E6%97%A5%93%FA", o, kNoList), platform::Cp932ToUtf8("\xE6\x97\xA5\x93\xFA"));
  EXPECT_EQ(NormalizeRef("%93%FA%8BL", o, kNoList), "日記");
  // Overlong forms and surrogates are not UTF-8.
  EXPECT_EQ(NormalizeRef("%C0%AF", o, kNoList), platform::Cp932ToUtf8("\xC0\xAF"));
  EXPECT_EQ(NormalizeRef("%ED%A0%80", o, kNoList), platform::Cp932ToUtf8("\xED\xA0\x80"));
  // Separate runs are judged one by one.
  EXPECT_EQ(NormalizeRef("%E6%97%A5/%93%FA", o, kNoList), "日/日");
  // What the code page lacks is one "?" once written out.
  EXPECT_EQ(platform::Utf8ToCp932(NormalizeRef("%E2%82%AC%F0%9F%98%80", o, kNoList)), "??");
}

}  // namespace
}  // namespace vorel::analysis
