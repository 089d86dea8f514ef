#include "tests/mail/MailFixtures.h"

#include "mail/DbxFormat.h"
#include "mail/Oe4Format.h"
#include "platform/base/PathMap.h"

#include <fstream>
#include <sstream>

namespace {

void AppendU32(std::string& bytes, uint32_t nValue)
{
    bytes.resize(bytes.size() + 4);
    FixturePutU32(bytes, bytes.size() - 4, nValue);
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}

} // namespace

std::string CFixtureMessage::Text() const
{
    std::string text = "From: " + strFrom + "\nTo: " + strTo + "\nSubject: " + strSubject
        + "\nDate: Mon, 2 Jan 2006 15:04:05 +0000\n" + strExtraHeaders + "\n" + strBody;
    return bCrLf ? WithCrLf(text) : text;
}

std::vector<std::string> FixtureMessages(const std::string& strSubjectPrefix, int nCount, size_t nBodyBytes)
{
    std::vector<std::string> messages;
    for (int i = 0; i < nCount; ++i) {
        CFixtureMessage message;
        message.bCrLf = true;
        message.strSubject = strSubjectPrefix + std::to_string(i);
        message.strBody = std::string(nBodyBytes, static_cast<char>('a' + i % 26)) + "\n";
        messages.push_back(message.Text());
    }
    return messages;
}

std::string BuildMbox(const std::vector<std::string>& messages, const std::vector<unsigned>& statuses)
{
    std::string mbox;
    for (size_t i = 0; i < messages.size(); ++i) {
        mbox += "From - Mon Jan  2 15:04:05 2006\n";
        if (i < statuses.size()) {
            char sz[40];
            std::snprintf(sz, sizeof(sz), "X-Mozilla-Status: %04x\n", statuses[i]);
            mbox += sz;
        }
        mbox += messages[i];
        if (!mbox.empty() && mbox.back() != '\n')
            mbox += '\n';
    }
    return mbox;
}

COe4Fixture BuildOe4Store(const std::vector<std::string>& messages, const std::vector<uint32_t>& flags)
{
    COe4Fixture store;
    store.strMbx.assign(MBX_HEADER_SIZE, '\0');
    store.strIdx.assign(IDX_HEADER_SIZE, '\0');
    FixturePutU32(store.strMbx, 0, MBX_SIGNATURE);
    FixturePutU32(store.strMbx, 4, 0x01010003);
    store.strMbx[20] = 1;
    FixturePutU32(store.strIdx, 0, IDX_SIGNATURE);
    FixturePutU32(store.strIdx, 4, 0x00010004);
    for (size_t i = 0; i < messages.size(); ++i) {
        const std::string& text = messages[i];
        uint32_t nPadding = (4 - text.size() % 4) % 4;
        auto nTotal = static_cast<uint32_t>(MBX_MESSAGE_HEADER_SIZE + text.size() + nPadding);
        auto nMbxOffset = static_cast<uint32_t>(store.strMbx.size());
        store.mbxOffsets.push_back(nMbxOffset);
        store.strMbx.append(reinterpret_cast<const char*>(MBX_MESSAGE_MARKER), sizeof(MBX_MESSAGE_MARKER));
        AppendU32(store.strMbx, static_cast<uint32_t>(i + 1));
        AppendU32(store.strMbx, nTotal);
        AppendU32(store.strMbx, static_cast<uint32_t>(text.size()));
        store.strMbx += text;
        store.strMbx.append(nPadding, '\0');

        // The item: the fixed fields, then a subject as the notes describe, padded to 4.
        std::string item;
        AppendU32(item, i < flags.size() ? flags[i] : 0);
        AppendU32(item, 0);
        AppendU32(item, static_cast<uint32_t>(i + 1));
        AppendU32(item, static_cast<uint32_t>(store.strIdx.size()));
        AppendU32(item, 0); // Size, set below
        AppendU32(item, nMbxOffset);
        AppendU32(item, nTotal);
        item.append(166, '\0');
        std::string strSubject = "item " + std::to_string(i + 1);
        AppendU32(item, static_cast<uint32_t>(strSubject.size()));
        item += strSubject;
        item.append((4 - item.size() % 4) % 4, '\0');
        FixturePutU32(item, 16, static_cast<uint32_t>(item.size()));
        store.strIdx += item;
    }
    FixturePutU32(store.strMbx, MBX_COUNT_FIELD, static_cast<uint32_t>(messages.size()));
    FixturePutU32(store.strMbx, 12, static_cast<uint32_t>(messages.size()));
    FixturePutU32(store.strMbx, MBX_SIZE_FIELD, static_cast<uint32_t>(store.strMbx.size()));
    FixturePutU32(store.strIdx, IDX_COUNT_FIELD, static_cast<uint32_t>(messages.size()));
    FixturePutU32(store.strIdx, IDX_SIZE_FIELD, static_cast<uint32_t>(store.strIdx.size()));
    return store;
}

CDbxFixture BuildDbx(const std::vector<std::string>& messages)
{
    constexpr size_t CHUNK_BODY = 0x200;
    CDbxFixture fixture;
    std::string& dbx = fixture.strDbx;
    dbx.assign(DBX_HEADER_SIZE, '\0');
    dbx.replace(0, sizeof(DBX_MESSAGE_SIGNATURE),
        std::string(reinterpret_cast<const char*>(DBX_MESSAGE_SIGNATURE), sizeof(DBX_MESSAGE_SIGNATURE)));
    FixturePutU32(dbx, DBX_COUNT_FIELD, static_cast<uint32_t>(messages.size()));

    for (size_t i = 0; i < messages.size(); ++i) {
        const std::string& text = messages[i];
        // The chunks, each linked to the next.
        uint32_t nFirst = 0;
        size_t nPrevious = 0;
        for (size_t nDone = 0; nDone < text.size() || nFirst == 0; nDone += CHUNK_BODY) {
            auto nChunk = static_cast<uint32_t>(dbx.size());
            if (nFirst == 0)
                nFirst = nChunk;
            else
                FixturePutU32(dbx, nPrevious + 12, nChunk);
            size_t nTake = std::min(CHUNK_BODY, text.size() - std::min(nDone, text.size()));
            AppendU32(dbx, nChunk);
            AppendU32(dbx, CHUNK_BODY);
            AppendU32(dbx, static_cast<uint32_t>(nTake));
            AppendU32(dbx, 0);
            dbx += text.substr(nDone, nTake);
            dbx.append(CHUNK_BODY - nTake, '\0');
            nPrevious = nChunk;
            if (nTake < CHUNK_BODY)
                break;
        }
        fixture.firstChunks.push_back(nFirst);

        // The message info: index and flags direct, the chunk pointer in the data field.
        auto nInfo = static_cast<uint32_t>(dbx.size());
        fixture.infos.push_back(nInfo);
        AppendU32(dbx, nInfo);
        AppendU32(dbx, 3 * 4 + 4);
        dbx += std::string("\0\0\x03\x01", 4);
        AppendU32(dbx, 0x80 | static_cast<uint32_t>(i + 1) << 8);
        AppendU32(dbx, 0x80 | 0x01 | 0x80u << 8);
        AppendU32(dbx, 0x04);
        AppendU32(dbx, nFirst);
    }

    // The tree: leaves of up to 0x33 values, joined by one value each in the root.
    auto AddNode = [&](const std::vector<std::pair<uint32_t, uint32_t>>& entries, uint32_t nLeft) {
        auto nNode = static_cast<uint32_t>(dbx.size());
        std::string node(DBX_NODE_HEADER_SIZE + DBX_NODE_MAX_ENTRIES * DBX_NODE_ENTRY_SIZE, '\0');
        FixturePutU32(node, 0, nNode);
        FixturePutU32(node, 8, nLeft);
        node[0x11] = static_cast<char>(entries.size());
        for (size_t k = 0; k < entries.size(); ++k) {
            FixturePutU32(node, DBX_NODE_HEADER_SIZE + k * DBX_NODE_ENTRY_SIZE, entries[k].first);
            FixturePutU32(node, DBX_NODE_HEADER_SIZE + k * DBX_NODE_ENTRY_SIZE + 4, entries[k].second);
        }
        dbx += node;
        fixture.nodes.push_back(nNode);
        return nNode;
    };
    const std::vector<uint32_t>& infos = fixture.infos;
    uint32_t nRoot = 0;
    if (infos.size() <= DBX_NODE_MAX_ENTRIES) {
        std::vector<std::pair<uint32_t, uint32_t>> entries;
        entries.reserve(infos.size());
        for (uint32_t nInfo : infos)
            entries.emplace_back(nInfo, 0);
        nRoot = AddNode(entries, 0);
    } else {
        std::vector<uint32_t> leaves;
        std::vector<uint32_t> separators;
        size_t i = 0;
        while (i < infos.size()) {
            std::vector<std::pair<uint32_t, uint32_t>> entries;
            for (; i < infos.size() && entries.size() < DBX_NODE_MAX_ENTRIES; ++i)
                entries.emplace_back(infos[i], 0);
            leaves.push_back(AddNode(entries, 0));
            if (i < infos.size())
                separators.push_back(infos[i++]);
        }
        std::vector<std::pair<uint32_t, uint32_t>> rootEntries;
        for (size_t k = 0; k < separators.size(); ++k)
            rootEntries.emplace_back(separators[k], k + 1 < leaves.size() ? leaves[k + 1] : 0);
        nRoot = AddNode(rootEntries, leaves[0]);
        // The root goes first in the node list.
        fixture.nodes.insert(fixture.nodes.begin(), fixture.nodes.back());
        fixture.nodes.pop_back();
    }
    FixturePutU32(dbx, DBX_TREE_ROOT_FIELD, nRoot);
    return fixture;
}

uint32_t FixtureGetU32(const std::string& bytes, size_t nOffset)
{
    auto p = reinterpret_cast<const unsigned char*>(bytes.data() + nOffset);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void FixturePutU32(std::string& bytes, size_t nOffset, uint32_t nValue)
{
    for (int i = 0; i < 4; ++i)
        bytes[nOffset + i] = static_cast<char>(nValue >> (8 * i));
}

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string ProgramPath(const std::filesystem::path& path)
{
    return ProgramPathFromHostPath(path.string());
}
