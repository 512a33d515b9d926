#include "net/cookies.h"

#include <gtest/gtest.h>

#include "net/basic_auth.h"
#include "net/http_date.h"
#include "net/http_errors.h"

namespace holvex {
namespace {

constexpr std::int64_t kNow = 1700000000;

TEST(Cookies, ParsesNameValueAndUpperCasedAttributes) {
  TCookie c = ParseCookie(
      "sid=a=b; path=\"/dl/\"; Domain=.example.com; secure; max-age=60; Version=1; comment=hi", false, kNow);
  EXPECT_EQ(c.name, "sid");
  EXPECT_EQ(c.value, "a=b");
  EXPECT_EQ(c.path, "/dl/");
  EXPECT_EQ(c.domain, ".example.com");
  EXPECT_TRUE(c.secure);
  EXPECT_EQ(c.maxAge, 60);
  EXPECT_EQ(c.version, "1");
  EXPECT_EQ(c.comment, "hi");
  EXPECT_EQ(ParseHttpDate(c.expires), kNow + 60);  // Max-Age without Expires

  TCookie withExpires = ParseCookie("a=1; expires=Sun, 06 Nov 1994 08:49:37 GMT; max-age=x", false, kNow);
  EXPECT_EQ(withExpires.expires, "Sun, 06 Nov 1994 08:49:37 GMT");
  EXPECT_EQ(withExpires.maxAge, -1);
}

TEST(Cookies, Rfc2965PortListMustBeNumeric) {
  TCookie c = ParseCookie("a=1; Port=\"80,8080\"; Discard; CommentURL=http://x/", true, kNow);
  EXPECT_EQ(c.ports, (std::vector<std::int32_t>{80, 8080}));
  EXPECT_TRUE(c.discard);
  EXPECT_EQ(c.commentUrl, "http://x/");
  EXPECT_THROW(ParseCookie("a=1; Port=\"80,acht\"", true, kNow), EConvertError);
  EXPECT_NO_THROW(ParseCookie("a=1; Port=\"80,acht\"", false, kNow));  // Set-cookie knows no Port
}

TEST(Cookies, DomainMayBeSetOnlyByTheHostItNames) {
  EXPECT_TRUE(CookieDomainAcceptable("www.example.com", "www.example.com"));
  EXPECT_TRUE(CookieDomainAcceptable(".example.com", "www.example.com"));
  EXPECT_FALSE(CookieDomainAcceptable(".example.com", "a.b.example.com"));
  EXPECT_FALSE(CookieDomainAcceptable("example.com", "www.example.com"));
  EXPECT_FALSE(CookieDomainAcceptable(".other.com", "www.example.com"));
  EXPECT_FALSE(CookieDomainAcceptable("WWW.example.com", "www.example.com"));
  EXPECT_TRUE(CookieDomainAcceptable("10.0.0.1", "10.0.0.1"));
  EXPECT_FALSE(CookieDomainAcceptable(".0.0.1", "10.0.0.1"));
}

TEST(Cookies, SentOnlyToTheDomainAndItsSubdomains) {
  EXPECT_TRUE(CookieDomainMatches(".example.com", "WWW.EXAMPLE.COM"));
  EXPECT_TRUE(CookieDomainMatches(".example.com", "example.com"));
  EXPECT_TRUE(CookieDomainMatches("www.example.com", "www.example.com"));
  EXPECT_FALSE(CookieDomainMatches(".example.com", "www.example.com.attacker.net"));
  EXPECT_FALSE(CookieDomainMatches("example.com", "badexample.com"));
  EXPECT_FALSE(CookieDomainMatches(".example.com", "badexample.com"));
}

TEST(CookieStore, SendsMatchingCookiesLongestPathFirst) {
  TCookieStore store;
  store.Add(ParseCookie("root=1; path=/", false, kNow), "www.example.com");
  store.Add(ParseCookie("deep=2; path=/dl/files/", false, kNow), "www.example.com");
  store.Add(ParseCookie("mid=3; path=/DL/", false, kNow), "www.example.com");
  store.Add(ParseCookie("nopath=4", false, kNow), "www.example.com");
  store.Add(ParseCookie("empty=; path=/", false, kNow), "www.example.com");
  store.Add(ParseCookie("safe=5; path=/; secure", false, kNow), "www.example.com");
  store.Add(ParseCookie("foreign=6; path=/; domain=.other.com", false, kNow), "www.example.com");
  EXPECT_EQ(store.size(), 6u);  // the foreign one is refused
  EXPECT_EQ(store.CookieValue("www.example.com", "/dl/files/"), "deep=2; root=1");
  EXPECT_EQ(store.CookieValue("www.example.com", "/DL/x/"), "mid=3; root=1");
  EXPECT_EQ(store.CookieValue("other.example.com", "/"), "");
}

TEST(CookieStore, SameNameReplacesWhateverThePathAndExpiredCookiesGo) {
  TCookieStore store;
  store.Add(ParseCookie("a=1; path=/x/", false, kNow), "h.example");
  store.Add(ParseCookie("a=2; path=/", false, kNow), "h.example");
  store.Add(ParseCookie("old=1; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT", false, kNow), "h.example");
  store.Add(ParseCookie("junk=1; path=/; expires=irgendwann", false, kNow), "h.example");
  store.Add(ParseCookie("soon=1; path=/; max-age=10", false, kNow), "h.example");
  EXPECT_EQ(store.size(), 4u);
  store.RemoveExpired(kNow);
  EXPECT_EQ(store.CookieValue("h.example", "/x/"), "a=2; soon=1");
  store.RemoveExpired(kNow + 11);
  EXPECT_EQ(store.CookieValue("h.example", "/x/"), "a=2");
}

TEST(CookieStore, StaysBoundedAgainstEndlessNewNames) {
  TCookieStore store;
  for (int i = 0; i < 500; ++i) {
    std::string text = "n";
    text += std::to_string(i);
    text += "=v; path=/";
    store.Add(ParseCookie(text, false, kNow), "h.example");
  }
  EXPECT_EQ(store.size(), TCookieStore::kMaxCookiesPerDomain);
  EXPECT_NE(store.CookieValue("h.example", "/").find("n499=v"), std::string::npos);
}

TEST(BasicAuth, Base64OfUserColonPassword) {
  EXPECT_EQ(EncodeBase64(""), "");
  EXPECT_EQ(EncodeBase64("f"), "Zg==");
  EXPECT_EQ(EncodeBase64("fo"), "Zm8=");
  EXPECT_EQ(EncodeBase64("foo"), "Zm9v");
  EXPECT_EQ(EncodeBase64("\xff\xfe\xfd"), "//79");
  EXPECT_EQ(TBasicAuth().Authentication(), "Basic Og==");
  EXPECT_TRUE(NamesBasicScheme("  basic realm=\"x\""));
  EXPECT_FALSE(NamesBasicScheme("Digest realm=\"x\""));
  EXPECT_FALSE(NamesBasicScheme("Basically"));
}

}  // namespace
}  // namespace holvex
