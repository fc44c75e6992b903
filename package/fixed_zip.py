"""Rewrites a ZIP so that the same files always give the same bytes: entries
in order of name, each dated with the release's date (SOURCE_DATE_EPOCH, when
set, overrides it), files readable by all (644), folders 755, no extra fields.

usage: fixed_zip.py ARCHIVE RELEASE_DATE   (RELEASE_DATE as YYYY-MM-DD)
"""
import datetime
import os
import sys
import zipfile

# The earliest time a ZIP entry can carry.
ZIP_EPOCH = datetime.datetime(1980, 1, 1)


def entry_time(release_date):
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch:
        when = datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc).replace(tzinfo=None)
    else:
        when = datetime.datetime.fromisoformat(release_date)
    return max(when, ZIP_EPOCH).timetuple()[:6]


def main(archive, release_date):
    stamp = entry_time(release_date)
    with zipfile.ZipFile(archive) as made:
        entries = sorted((info.filename, made.read(info)) for info in made.infolist())
    with zipfile.ZipFile(archive, "w") as fixed:
        for name, data in entries:
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 3  # Unix: unzip then applies the permissions below
            if name.endswith("/"):
                info.external_attr = 0o40755 << 16 | 0x10  # and the MS-DOS folder flag
            else:
                info.external_attr = 0o100644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
            fixed.writestr(info, data, compresslevel=9)


if __name__ == "__main__":
    main(*sys.argv[1:3])
