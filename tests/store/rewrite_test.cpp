#include "odbcvant/sqlrewrite.h"

#include <gtest/gtest.h>

namespace {

TEST(UcaseRewrite, ReplacesTheFunctionName) {
    EXPECT_EQ("SELECT * FROM Messages M WHERE UPPER(M.FromAdd) = 'A'",
              lx::RewriteUcaseToUpper("SELECT * FROM Messages M WHERE UCASE(M.FromAdd) = 'A'"));
    EXPECT_EQ("UPPER(x) AND UPPER (y)", lx::RewriteUcaseToUpper("ucase(x) AND UCase (y)"));
    EXPECT_EQ("UPPER(UPPER(a))", lx::RewriteUcaseToUpper("UCASE(UCASE(a))"));
    EXPECT_EQ("(UPPER(a))", lx::RewriteUcaseToUpper("(UCASE(a))"));
}

TEST(UcaseRewrite, LeavesLiteralsAndOtherNamesAlone) {
    EXPECT_EQ("SELECT 'UCASE(x)' FROM t", lx::RewriteUcaseToUpper("SELECT 'UCASE(x)' FROM t"));
    EXPECT_EQ("WHERE a = 'it''s UCASE(' AND UPPER(b) = 'B'",
              lx::RewriteUcaseToUpper("WHERE a = 'it''s UCASE(' AND UCASE(b) = 'B'"));
    EXPECT_EQ("SELECT \"UCASE\"(a)", lx::RewriteUcaseToUpper("SELECT \"UCASE\"(a)"));
    EXPECT_EQ("SELECT MY_UCASE(a), UCASEX(b), t.UCASE(c)",
              lx::RewriteUcaseToUpper("SELECT MY_UCASE(a), UCASEX(b), t.UCASE(c)"));
    EXPECT_EQ("SELECT UCASE FROM t", lx::RewriteUcaseToUpper("SELECT UCASE FROM t"));
    EXPECT_EQ("-- UCASE(a)\nSELECT UPPER(a)",
              lx::RewriteUcaseToUpper("-- UCASE(a)\nSELECT UCASE(a)"));
}

TEST(UcaseRewrite, SurvivesUnterminatedText) {
    EXPECT_EQ("SELECT 'UCASE(", lx::RewriteUcaseToUpper("SELECT 'UCASE("));
    EXPECT_EQ("UCASE", lx::RewriteUcaseToUpper("UCASE"));
    EXPECT_EQ("UPPER(", lx::RewriteUcaseToUpper("UCASE("));
    EXPECT_EQ("", lx::RewriteUcaseToUpper(""));
}

TEST(UcaseRewrite, OnlyAccessKeepsUcase) {
    EXPECT_TRUE(lx::EngineNeedsUpper("SQLite"));
    EXPECT_TRUE(lx::EngineNeedsUpper("PostgreSQL"));
    EXPECT_TRUE(lx::EngineNeedsUpper("Microsoft SQL Server"));
    EXPECT_FALSE(lx::EngineNeedsUpper("ACCESS"));
    EXPECT_FALSE(lx::EngineNeedsUpper("Microsoft Access"));
}

} // namespace
