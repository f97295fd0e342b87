// libgsf first: its GLib headers must not see Qt's keyword macros.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include "widgets/xlswriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <mutex>

namespace zenvo {

namespace {
QString takeError(GError *err, const char *fallback) {
    QString text = QString::fromUtf8(err ? err->message : fallback);
    if (err)
        g_error_free(err);
    return text;
}

QString outputError(GsfOutput *out, const char *fallback) {
    const GError *err = out ? gsf_output_error(out) : nullptr;
    return QString::fromUtf8(err ? err->message : fallback);
}
} // namespace

bool writeOleFile(const QString &path, const char *streamName, const QByteArray &data,
                  QString *error) {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };

    // Written under a temporary name in the target folder and renamed over path only when
    // complete, so a failed export leaves neither a broken file nor a lost earlier one.
    QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.export-XXXXXX"));
    if (!temp.open())
        return fail(temp.errorString());
    temp.close();
    const QByteArray tempName = QFile::encodeName(temp.fileName());
    QFile::remove(temp.fileName()); // recreated with the usual permissions

    GError *err = nullptr;
    GsfOutput *sink = gsf_output_stdio_new(tempName.constData(), &err);
    if (!sink)
        return fail(takeError(err, "cannot create the file"));
    GsfOutfile *ole = gsf_outfile_msole_new(sink);
    g_object_unref(sink);
    if (!ole)
        return fail(QStringLiteral("cannot create the compound file"));

    QString problem;
    GsfOutput *stream = gsf_outfile_new_child(ole, streamName, FALSE);
    if (!stream) {
        problem = QStringLiteral("cannot create the stream");
    } else {
        if (!gsf_output_write(stream, gsize(data.size()),
                              reinterpret_cast<const guint8 *>(data.constData())))
            problem = outputError(stream, "write failed");
        if (!gsf_output_close(stream) && problem.isEmpty())
            problem = outputError(stream, "write failed");
        g_object_unref(stream);
    }
    if (!gsf_output_close(GSF_OUTPUT(ole)) && problem.isEmpty())
        problem = outputError(GSF_OUTPUT(ole), "write failed");
    g_object_unref(ole);
    if (!problem.isEmpty())
        return fail(problem);
    if (std::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QStringLiteral("cannot replace %1").arg(path));
    temp.setAutoRemove(false);
    return true;
}

} // namespace zenvo
