#include <gtest/gtest.h>

#include "web/web_session.h"

TEST(WebSessionTest, Placeholder) {
    zorvan::web::WebSession session;
    EXPECT_NE(session.View().find("\"rowCount\":2"), std::string::npos);
}
