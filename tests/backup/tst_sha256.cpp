// SHA-256 against the published test vectors, fed whole and in uneven pieces, so that the
// padding and every way a piece can straddle a 64-byte block are exercised.
#include <QTest>

#include <string>

#include "Sha256.h"

using brenvik::backup::Sha256;

class TestSha256 : public QObject {
    Q_OBJECT

    static std::string digest(const std::string& text, size_t piece) {
        Sha256 sha;
        for (size_t at = 0; at < text.size(); at += piece)
            sha.update({reinterpret_cast<const uint8_t*>(text.data()) + at, std::min(piece, text.size() - at)});
        return Sha256::hex(sha.finish());
    }

private slots:
    void vectors_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << "" << "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
        QTest::newRow("abc") << "abc" << "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
        QTest::newRow("448 bits") << "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"
                                  << "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1";
        QTest::newRow("896 bits")
            << "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrst"
               "nopqrstu"
            << "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1";
        QTest::newRow("a million a") << QString(1000000, 'a')
                                     << "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
    }

    void vectors() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const std::string bytes = text.toStdString();
        for (const size_t piece : {size_t(1), size_t(63), size_t(64), size_t(65), size_t(4096)})
            QCOMPARE(QString::fromStdString(digest(bytes, piece)), expected);
    }
};

QTEST_APPLESS_MAIN(TestSha256)
#include "tst_sha256.moc"
