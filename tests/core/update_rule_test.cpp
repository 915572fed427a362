#include "app/update_rule.h"
#include "../qt_printers.h"

#include <gtest/gtest.h>

using namespace tw;

TEST(UpdateRule, VersionRepliesAgainstTheOwnVersion) {
    struct Case {
        const char* reply;
        const char* address;  // nullptr: no notice
    };
    for (const Case& c : {
             Case{"1.7|http://tarnwick.org/get", "http://tarnwick.org/get"},
             Case{"1.6|http://tarnwick.org/get", nullptr},
             Case{"1.10|https://tarnwick.org/get", "https://tarnwick.org/get"},
             Case{"2.0|http://h/d", "http://h/d"},
             Case{"0.9|http://h/d", nullptr},
             Case{"1.6.1|http://h/d", nullptr},
             // Only the version loses its dot: the address keeps every one of its own.
             Case{"17|http://www.tarnwick.org/get.html", "http://www.tarnwick.org/get.html"},
             Case{" \r\n 1.7|http://h/d \r\n\r\n", "http://h/d"},
             Case{"1.7 http://h/d", nullptr},
             Case{"|http://h/d", nullptr},
             Case{"x.7|http://h/d", nullptr},
             Case{"", nullptr},
             // The address is opened by the desktop: only web addresses are taken.
             Case{"1.7|file:///etc/passwd", nullptr},
             Case{"1.7|/usr/bin/xterm", nullptr},
             Case{"1.7|javascript:alert(1)", nullptr},
             Case{"1.7|", nullptr},
             Case{"1.7|HTTPS://h/d", "HTTPS://h/d"},
         }) {
        const std::optional<QString> got = newerVersionAddress(QByteArray(c.reply));
        if (c.address) {
            ASSERT_TRUE(got.has_value()) << c.reply;
            EXPECT_EQ(*got, QString::fromLatin1(c.address)) << c.reply;
        } else {
            EXPECT_FALSE(got.has_value()) << c.reply;
        }
    }
}

TEST(UpdateRule, VersionFileAddressOfAHost) {
    EXPECT_EQ(versionFileUrl("update.tarnwick.org"), "http://update.tarnwick.org/version.txt");
    EXPECT_EQ(versionFileUrl(" 127.0.0.1:8080 "), "http://127.0.0.1:8080/version.txt");
}
