#include "windows/hyperlink_address.h"

#include <gtest/gtest.h>

#include "windows/shell_error.h"

using namespace vesp;

namespace {

AddressPlan plan(std::string_view text, AddressRules rules = {}) { return planAddress(text, rules); }

}  // namespace

TEST(HyperlinkAddressTest, EmailAddressesOpenAsMailAndWebAddressesAsThemselves) {
  EXPECT_EQ(plan("choir@stmarks.org   ").target, "mailto:choir@stmarks.org");
  EXPECT_EQ(plan("choir@stmarks.org").kind, AddressPlan::Kind::Mail);
  // A scheme already there is not doubled, in any case.
  EXPECT_EQ(plan("MailTo:choir@stmarks.org").target, "MailTo:choir@stmarks.org");
  // "@" inside a web address does not make it mail.
  AddressPlan web = plan("HTTP://user@stmarks.org/flyer.pdf");
  EXPECT_EQ(web.kind, AddressPlan::Kind::Open);
  EXPECT_EQ(web.target, "HTTP://user@stmarks.org/flyer.pdf");
  EXPECT_EQ(plan("C:\\Media\\Flyer 12.pdf  ").target, "C:\\Media\\Flyer 12.pdf");
}

TEST(HyperlinkAddressTest, OnlyBareAddressesAndMailtoOpenTheMailProgram) {
  for (const char* web : {"https://social.example/@stmarks", "HTTPS://x.org/a@b.pdf", "http://x.org/?to=a@b"}) {
    EXPECT_EQ(plan(web).kind, AddressPlan::Kind::Open) << web;
    EXPECT_EQ(plan(web).target, web);
  }
  for (const char* file : {"/media/photos/easter@2x.png", "C:\\Photos\\easter@2x.png", "file:///media/a@b.png"}) {
    EXPECT_EQ(plan(file).kind, AddressPlan::Kind::Open) << file;
    EXPECT_EQ(plan(file).target, file);
  }
  EXPECT_EQ(plan("mailto:choir@stmarks.org?subject=Easter").target, "mailto:choir@stmarks.org?subject=Easter");
  EXPECT_EQ(plan("choir@stmarks.org").kind, AddressPlan::Kind::Mail);
}

TEST(HyperlinkAddressTest, SchemesOtherThanWebMailAndFileAreRefused) {
  for (const char* bad : {"javascript:alert(1)", "JavaScript:alert('a@b')", "data:text/html,<script>x</script>",
                          "vbscript:msgbox", "smb://server/share/a.pdf", "foo:bar@baz"}) {
    const AddressPlan p = plan(bad);
    EXPECT_EQ(p.kind, AddressPlan::Kind::Refused) << bad;
    EXPECT_EQ(p.address, bad);
  }
  EXPECT_EQ(RefusedAddressMessage("javascript:x"),
            "This kind of address is not opened: only web pages (http, https), mail (mailto) and files are.|"
            "javascript:x");
}

TEST(HyperlinkAddressTest, EmptyAndBlankAddressesOpenNothing) {
  EXPECT_EQ(plan("").kind, AddressPlan::Kind::Nothing);
  EXPECT_EQ(plan("     ").kind, AddressPlan::Kind::Nothing);
  EXPECT_EQ(plan("\"\"").kind, AddressPlan::Kind::Nothing);
}

TEST(HyperlinkAddressTest, TheBodyOfAMailIsMadeUrlSafe) {
  AddressPlan mail = plan("pastor@stmarks.org?cc=organist@stmarks.org&subject=Easter&body=Dear all,\r\nhymn 100% ok; <b>");
  EXPECT_EQ(mail.target,
            "mailto:pastor@stmarks.org?cc=organist@stmarks.org&subject=Easter"
            "&body=Dear%20all,%0D%0Ahymn%20100%25%20ok%3B%20%3Cb%3E");
  // Escapes already there stay; a "&" or "?" that starts no header is encoded.
  EXPECT_EQ(urlSafeEmail("a@b&body=50%2F50 & more?x&Subject=S&BCC=c"), "a@b&body=50%2F50%20%26%20more%3Fx&Subject=S&BCC=c");
  // Without a body everything is scanned, headers kept.
  EXPECT_EQ(urlSafeEmail("a b@c?subject=Hi there"), "a%20b@c?subject=Hi%20there");
  // A "%" at the very end is encoded.
  EXPECT_EQ(urlSafeEmail("a@b&body=%"), "a@b&body=%25");
  EXPECT_EQ(urlSafeEmail("a@b&body=%4"), "a@b&body=%254");
  // Turned off, the address goes as written.
  AddressRules plain;
  plain.emailSafe = false;
  EXPECT_EQ(plan("a@b&body=x y", plain).target, "mailto:a@b&body=x y");
}

TEST(HyperlinkAddressTest, SurroundingQuotesAreRemoved) {
  EXPECT_EQ(plan("\"choir@stmarks.org\"").target, "mailto:choir@stmarks.org");
  EXPECT_EQ(plan("\"C:\\My Media\\flyer.pdf\"").target, "C:\\My Media\\flyer.pdf");
  EXPECT_EQ(plan("say \"hi\"@stmarks.org").target, "mailto:say%20\"hi\"@stmarks.org");
}

TEST(HyperlinkAddressTest, ShellMetacharactersAreKeptAsPartOfTheOneTarget) {
  AddressPlan file = plan("/media/flyer.pdf; rm -rf ~ | cat `whoami` $(id)");
  EXPECT_EQ(file.kind, AddressPlan::Kind::Open);
  EXPECT_EQ(file.target, "/media/flyer.pdf; rm -rf ~ | cat `whoami` $(id)");
}

TEST(HyperlinkAddressTest, LongMailCommandsAreCutToTheLimit) {
  AddressRules rules;
  rules.lengthLimit = 40;
  rules.mailCommandLength = 20;
  EXPECT_EQ(plan("a@b.org&body=" + std::string(100, 'x'), rules).target, "mailto:a@b.org&body=");
  rules.lengthLimit = 10;  // shorter than the mail command itself
  EXPECT_EQ(plan("a@b.org", rules).target, "");
  rules.lengthLimit = 0;
  EXPECT_EQ(plan("a@b.org&body=" + std::string(600, 'x'), rules).target.size(), 620u);
  // Files are never cut.
  rules.lengthLimit = 5;
  EXPECT_EQ(plan("/media/flyer.pdf", rules).target, "/media/flyer.pdf");
}

TEST(ShellErrorTest, TheBoxNamesTheCodeItsMeaningAndTheAddress) {
  EXPECT_EQ(ShellErrorCaption(2), "Shell Execute Error:2");
  EXPECT_EQ(ShellErrorMessage(2, "/media/x.pdf"), "(2) The specified file was not found. File:|/media/x.pdf");
  EXPECT_EQ(ShellErrorText(3), "The specified path was not found. File:");
  EXPECT_EQ(ShellErrorText(31), "There is no application associated with the given file name extension. File:");
  EXPECT_EQ(ShellErrorText(0), "The Operating system is out of memory/resources. File:");
  EXPECT_EQ(ShellErrorText(1), "Unknown ShellExecute Error occured. File:");
  EXPECT_EQ(ShellErrorText(33), "Unknown ShellExecute Error occured. File:");
}
