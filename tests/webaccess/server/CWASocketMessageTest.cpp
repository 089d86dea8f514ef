#include "webaccess/server/CWASocketMessage.h"

#include "webaccess/profiles/CWASettings.h"

#include <gtest/gtest.h>

#include <string>

TEST(CWASocketMessageTest, PipeFieldsAreTakenPairByPair)
{
    CWASocketMessage message("<#INIT |abcd| |id1| |x|#> |tail");
    EXPECT_EQ(std::string(GetPipeField(message)), "abcd");
    EXPECT_EQ(std::string(GetPipeField(message)), "id1");
    EXPECT_EQ(std::string(GetPipeField(message)), "x");
    EXPECT_EQ(std::string(GetPipeField(message)), ""); // one bar left: no pair
    EXPECT_EQ(std::string(GetPipeField(message)), "");
    CWASocketMessage empty("||a");
    EXPECT_EQ(std::string(GetPipeField(empty)), "");
    EXPECT_EQ(std::string(GetPipeField(empty)), "");
}

TEST(CWASocketMessageTest, FirstLinesGiveTheirModeOrTheirError)
{
    CWAInitLine request = ParseInitLine("<#INIT |abcd| |12345678| |x|");
    EXPECT_EQ(request.nMode, CWAInitLine::REQUEST);
    EXPECT_EQ(std::string(request.strFolderName), "abcd");
    EXPECT_EQ(std::string(BuildCommFolderPath("C:\\p", request.strFolderName)), "C:\\p\\a.bcd\\");
    EXPECT_EQ(ParseInitLine("<#INIT |abcdefghijk| |i| |x|").nMode, CWAInitLine::REQUEST);
    EXPECT_STREQ(ParseInitLine("<#INIT |abcdefghijkl| |i| |x|").pszError, WA_CHANNEL_INVALID_FOLDER);
    EXPECT_STREQ(ParseInitLine("<#INIT |abc| |i| |x|").pszError, WA_CHANNEL_INVALID_FOLDER);
    EXPECT_STREQ(ParseInitLine("<#INIT |ab.cd| |i| |x|").pszError, WA_CHANNEL_INVALID_FOLDER);
    EXPECT_STREQ(ParseInitLine("<#INIT |abcd| |i/j| |x|").pszError, WA_CHANNEL_INVALID_ID);
    EXPECT_STREQ(ParseInitLine("<#INIT |abcd|").pszError, WA_CHANNEL_INVALID_ID);
    EXPECT_STREQ(ParseInitLine("<#init |abcd| |i| |x|").pszError, WA_CHANNEL_INVALID_COMMAND);

    CWAInitLine upload = ParseInitLine("<#INIT_UPL |a_b-c| |i| |x| |y| |2147483647| |0|");
    EXPECT_EQ(upload.nMode, CWAInitLine::UPLOAD);
    EXPECT_EQ(upload.nRawSize, 2147483647);
    EXPECT_EQ(upload.nPackedSize, 0);
    EXPECT_STREQ(ParseInitLine("<#INIT_UPL |abcd| |i| |x| |y| |10|").pszError, WA_CHANNEL_INVALID_COMMAND);
    EXPECT_STREQ(ParseInitLine("<#INIT_UPL |abcd| |i| |x| |y| |10| | 5|").pszError, WA_CHANNEL_INVALID_COMMAND);
    EXPECT_STREQ(
        ParseInitLine("<#INIT_UPL |abcd| |i| |x| |y| |10| |99999999999|").pszError, WA_CHANNEL_INVALID_COMMAND);
}
