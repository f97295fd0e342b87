#pragma once

#include <QJsonObject>
#include <QString>

#include <memory>
#include <vector>

namespace zenvo {

class JsonWriter;

// A record that crosses the wire as {"type":"<unit>.<Class>","id":n,"fields":{...}}.
class TRecord {
public:
    virtual ~TRecord() = default;
    virtual const char *unitName() const = 0;
    virtual const char *className() const = 0;
    QString qualifiedName() const;
    // Writes the whole object; ids are numbered from nextId within one value.
    virtual void writeJson(JsonWriter &w, int &nextId) const = 0;
    // Fills this record from a marshalled object: unknown fields are ignored, missing fields
    // keep their values, a field of the wrong JSON type throws std::runtime_error.
    virtual void readJson(const QJsonObject &obj) = 0;
};

// Marshals a record (or null) to its JSON text.
std::string marshal(const TRecord *rec);
// Creates a record of the named class ("TSonucBilgisi", ...), defaults set; nullptr if unknown.
std::unique_ptr<TRecord> createRecord(const char *className);

#define ZENVO_REC_DECL(type, name, def) type F##name = def;
#define ZENVO_REC_PROP(type, name, def)                                                            \
    const type &name() const {                                                                     \
        return F##name;                                                                            \
    }                                                                                              \
    void Set##name(const type &v) {                                                                \
        F##name = v;                                                                               \
    }

#define ZENVO_RECORD(Class, Unit, FIELDS)                                                          \
public:                                                                                            \
    static constexpr const char *kUnit = Unit;                                                     \
    static constexpr const char *kClass = #Class;                                                  \
    const char *unitName() const override {                                                        \
        return kUnit;                                                                              \
    }                                                                                              \
    const char *className() const override {                                                       \
        return kClass;                                                                             \
    }                                                                                              \
    void writeJson(JsonWriter &w, int &nextId) const override;                                     \
    void readJson(const QJsonObject &obj) override;                                                \
    FIELDS(ZENVO_REC_PROP)                                                                         \
    template <class V> void visitFields(V &v) {                                                    \
        FIELDS(ZENVO_REC_VISIT)                                                                    \
    }                                                                                              \
    template <class V> void visitFields(V &v) const {                                              \
        FIELDS(ZENVO_REC_VISIT)                                                                    \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    FIELDS(ZENVO_REC_DECL)
#define ZENVO_REC_VISIT(type, name, def) v("F" #name, F##name);

// Session record: who uses the client, for which account, on which machine.
#define ZENVO_FIELDS_TSonucBilgisi(F)                                                              \
    F(QString, BILGISAYARID, {})                                                                   \
    F(QString, SaticiMail, {})                                                                     \
    F(int, Sirano, 0)                                                                              \
    F(QString, CariAdi, {})                                                                        \
    F(QString, SIFRE, {})                                                                          \
    F(int, SaticiNo, 0)                                                                            \
    F(int, CARINO, 0)                                                                              \
    F(int, AKTIF, 0)                                                                               \
    F(QString, Kullanicimail, {})                                                                  \
    F(QString, ADI, {})                                                                            \
    F(QString, SaticiTelefon, {})                                                                  \
    F(QString, carikod, {})                                                                        \
    F(bool, Varmi, false)                                                                          \
    F(QString, SaticiAdi, {})                                                                      \
    F(QString, BilgiSayarAdi, {})                                                                  \
    F(QString, Disip, {})                                                                          \
    F(QString, Icip, {})                                                                           \
    F(QString, BilgisayarKullanici, {})                                                            \
    F(int, MusteriTipi, 1)                                                                         \
    F(int, Version, 1)

class TSonucBilgisi final : public TRecord {
    ZENVO_RECORD(TSonucBilgisi, "baglantiu", ZENVO_FIELDS_TSonucBilgisi)
public:
    void Kopyala(const TSonucBilgisi &source) { *this = source; }
};

#define ZENVO_FIELDS_TMobilStok(F)                                                                 \
    F(int, StokNo, 0)                                                                              \
    F(int, ResimVar, 0)                                                                            \
    F(QString, Resim, {})                                                                          \
    F(int, Yeni, 0)                                                                                \
    F(QString, Departman, {})                                                                      \
    F(double, VerilenSiparis, 0)                                                                   \
    F(QString, AltGrup, {})                                                                        \
    F(int, Durum, 0)                                                                               \
    F(QString, Renk, {})                                                                           \
    F(QString, Birim, QStringLiteral("ADET"))                                                      \
    F(double, KDV, 18)                                                                             \
    F(double, AlinanSiparis, 0)                                                                    \
    F(double, Isk2, 0)                                                                             \
    F(QString, AnaGrup, {})                                                                        \
    F(QString, Kod, {})                                                                            \
    F(double, Isk3, 0)                                                                             \
    F(double, ListeFiyati, 0)                                                                      \
    F(QString, Beden, {})                                                                          \
    F(double, NetFiyat, 0)                                                                         \
    F(double, Isk1, 0)                                                                             \
    F(double, KDVliFiyat, 0)                                                                       \
    F(double, Isk4, 0)                                                                             \
    F(QString, OzelKod, {})                                                                        \
    F(int, Kampnayali, 0)                                                                          \
    F(QString, Barkod, {})                                                                         \
    F(double, IndirimOran, 0)                                                                      \
    F(double, Kalan, 0)                                                                            \
    F(QString, UreticiKod, {})                                                                     \
    F(double, KampanyaliFiyat, 0)                                                                  \
    F(QString, OemNo, {})                                                                          \
    F(int, BarkodNo, 0)                                                                            \
    F(QString, PKod, {})                                                                           \
    F(QString, DpKod, {})                                                                          \
    F(QString, Adi, {})                                                                            \
    F(double, Fiyat, 0)

class TMobilStok final : public TRecord {
    ZENVO_RECORD(TMobilStok, "mobilstokunit", ZENVO_FIELDS_TMobilStok)
public:
    // Copies every field except PKod and DpKod, which keep their values.
    void Kopyala(const TMobilStok &source);
};

#define ZENVO_FIELDS_TMobilSepet(F)                                                                \
    F(int, KARGOID, 0)                                                                             \
    F(int, StokNo, 0)                                                                              \
    F(double, TARIH, 0)                                                                            \
    F(int, SIRANO, 0)                                                                              \
    F(QString, CARIADI, {})                                                                        \
    F(double, VERILISTARIHI, 0)                                                                    \
    F(int, Durum, 0)                                                                               \
    F(double, MIKTAR, 0)                                                                           \
    F(int, VERENIDNO, 0)                                                                           \
    F(double, NETTUTAR, 0)                                                                         \
    F(double, KDVLITUTAR, 0)                                                                       \
    F(double, KDV, 0)                                                                              \
    F(int, AKTAR, 0)                                                                               \
    F(QString, SAAT, {})                                                                           \
    F(double, VERGITUTARI, 0)                                                                      \
    F(QString, PKod, {})                                                                           \
    F(QString, MODEL, {})                                                                          \
    F(double, INDIRIMTUTAR, 0)                                                                     \
    F(int, STOK_STOKNO, 0)                                                                         \
    F(double, BIRIMFIYAT, 0)                                                                       \
    F(int, SEC, 0)                                                                                 \
    F(QString, OEM2, {})                                                                           \
    F(QString, OEM3, {})                                                                           \
    F(QString, AnaGrup, {})                                                                        \
    F(QString, MARKA, {})                                                                          \
    F(QString, VEREN, {})                                                                          \
    F(QString, STOKADI, {})                                                                        \
    F(QString, OEM1, {})                                                                           \
    F(int, CARINO, 0)                                                                              \
    F(int, VERENSIRANO, 0)                                                                         \
    F(int, ACIKLAMA, 0)                                                                            \
    F(double, INDIRIMORANI2, 0)                                                                    \
    F(QString, OEM4, {})                                                                           \
    F(QString, KUR, {})                                                                            \
    F(double, INDIRIMORANI3, 0)                                                                    \
    F(int, SIPARISNO, 0)                                                                           \
    F(double, IDNO, 0)                                                                             \
    F(QString, OzelKod, {})                                                                        \
    F(QString, DpKod, {})                                                                          \
    F(double, KURTL, 0)                                                                            \
    F(double, INDIRIMORANI1, 0)                                                                    \
    F(QString, DIGERADI, {})                                                                       \
    F(QString, Barkod, {})                                                                         \
    F(double, TUTAR, 0)                                                                            \
    F(QString, URETICIKODU, {})                                                                    \
    F(double, Kalan, 0)                                                                            \
    F(QString, FINISHKOD, {})                                                                      \
    F(QString, CARIKOD, {})                                                                        \
    F(double, NETBIRIMFIYAT, 0)                                                                    \
    F(QString, OemNo, {})                                                                          \
    F(int, TESLIMID, 0)                                                                            \
    F(int, ResimVar, 0)                                                                            \
    F(QString, Resim, {})

class TMobilSepet final : public TRecord {
    ZENVO_RECORD(TMobilSepet, "mobilstokunit", ZENVO_FIELDS_TMobilSepet)
public:
    void Kopyala(const TMobilSepet &source) { *this = source; }
};

#define ZENVO_FIELDS_TMobilCariBilgisi(F)                                                          \
    F(QString, BILGISAYARID, {})                                                                   \
    F(QString, SEHIR, {})                                                                          \
    F(QString, FAX1, {})                                                                           \
    F(QString, SATICIMAIL, {})                                                                     \
    F(QString, SATICIADI, {})                                                                      \
    F(QString, CARIADI, {})                                                                        \
    F(QString, EMAIL, {})                                                                          \
    F(QString, VERGIDAIRESI, {})                                                                   \
    F(QString, YETKILI, {})                                                                        \
    F(QString, AltGrup, {})                                                                        \
    F(QString, TEL2, {})                                                                           \
    F(QString, SIFRE, {})                                                                          \
    F(QString, GSM, {})                                                                            \
    F(QString, TEL1, {})                                                                           \
    F(QString, ADRES2, {})                                                                         \
    F(double, TLBORC, 0)                                                                           \
    F(double, TLALACAK, 0)                                                                         \
    F(QString, ADRES1, {})                                                                         \
    F(QString, ULKE, {})                                                                           \
    F(QString, AnaGrup, {})                                                                        \
    F(int, CARINO, 0)                                                                              \
    F(double, TLBAKIYE, 0)                                                                         \
    F(QString, VERGINO, {})                                                                        \
    F(QString, MAIL, {})                                                                           \
    F(QString, OzelKod, {})                                                                        \
    F(QString, KULLANICIADI, {})                                                                   \
    F(QString, SATICITELEFON, {})                                                                  \
    F(QString, CARIKOD, {})                                                                        \
    F(QString, FAX2, {})                                                                           \
    F(QString, ILCE, {})

class TMobilCariBilgisi final : public TRecord {
    ZENVO_RECORD(TMobilCariBilgisi, "mobilstokunit", ZENVO_FIELDS_TMobilCariBilgisi)
public:
    void Kopyala(const TMobilCariBilgisi &source) { *this = source; }
};

#define ZENVO_FIELDS_TAcilisEkran(F)                                                               \
    F(int, SiraNo, 0)                                                                              \
    F(QString, Resim, {})                                                                          \
    F(QString, Baslik, {})                                                                         \
    F(QString, Arama, {})

// An opening screen; Resim holds the picture as hexadecimal text.
class TAcilisEkran final : public TRecord {
    ZENVO_RECORD(TAcilisEkran, "mobilstokunit", ZENVO_FIELDS_TAcilisEkran)
public:
    // The picture bytes of Resim; empty when the text is empty or not valid hexadecimal.
    QByteArray ResimBaytlari() const;
};

#define ZENVO_FIELDS_TSiparisDipAyrinti(F)                                                         \
    F(QString, SizinMesaj, {})                                                                     \
    F(QString, Durumu, {})                                                                         \
    F(QString, Veren, {})                                                                          \
    F(QString, Kargo, {})                                                                          \
    F(QString, BizimMesaj, {})                                                                     \
    F(QString, TeslimCinsi, {})                                                                    \
    F(QString, KargoCinsi, {})                                                                     \
    F(QString, SaticiNotu, {})

class TSiparisDipAyrinti final : public TRecord {
    ZENVO_RECORD(TSiparisDipAyrinti, "baglantiu", ZENVO_FIELDS_TSiparisDipAyrinti)
public:
    void Kopyala(const TSiparisDipAyrinti &source) { *this = source; }
};

#define ZENVO_FIELDS_TTusSonuclari(F)                                                              \
    F(int, Alindi, 0)                                                                              \
    F(int, Onaylandi, 0)                                                                           \
    F(int, ParcaliHazirlandi, 0)                                                                   \
    F(int, SevkEdildi, 0)                                                                          \
    F(int, Hazirlandi, 0)                                                                          \
    F(int, Goruldu, 0)

class TTusSonuclari final : public TRecord {
    ZENVO_RECORD(TTusSonuclari, "baglantiu", ZENVO_FIELDS_TTusSonuclari)
public:
    void Kopyala(const TTusSonuclari &source) { *this = source; }
};

#define ZENVO_FIELDS_TAcilisEkranlariki(F) F(std::vector<TAcilisEkran>, Ekranlar, {})

// Holder of an array of opening screens; setting Ekranlar replaces the whole array.
class TAcilisEkranlariki final : public TRecord {
    ZENVO_RECORD(TAcilisEkranlariki, "mobilstokunit", ZENVO_FIELDS_TAcilisEkranlariki)
};

// Owning lists; on the wire {"type":...,"id":n,"items":[...]}.
template <class Item, const char *Name> class TRecordList final : public TRecord {
public:
    static constexpr const char *kClass = Name;
    const char *unitName() const override { return "mobilstokunit"; }
    const char *className() const override { return Name; }
    void writeJson(JsonWriter &w, int &nextId) const override;
    void readJson(const QJsonObject &obj) override;
    std::vector<std::unique_ptr<Item>> items;
    int Count() const { return int(items.size()); }
};

inline constexpr char kTMobilStoklar[] = "TMobilStoklar";
inline constexpr char kTMobilSepetler[] = "TMobilSepetler";
inline constexpr char kTAcilisEkranlar[] = "TAcilisEkranlar";
using TMobilStoklar = TRecordList<TMobilStok, kTMobilStoklar>;
using TMobilSepetler = TRecordList<TMobilSepet, kTMobilSepetler>;
using TAcilisEkranlar = TRecordList<TAcilisEkran, kTAcilisEkranlar>;

// Reads a marshalled record of class T from JSON text; nullptr for "null".
template <class T> std::unique_ptr<T> unmarshal(std::string_view json);

} // namespace zenvo
