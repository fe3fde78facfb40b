#include "attach/file_table.h"

namespace azu {

const std::array<std::string_view, 44> kFileTable = {
    // live files
    kMainConfig,
    "/not-scsi0/net/oid_exclude_list",
    "/not-scsi0/net/hrmib.ppd",
    "/not-scsi0/dev0/vscan_ftp.ini",
    "/not-scsi0/config_files/controllerAddr",
    "/not-scsi0/config_files/controllerAddr.ini",
    "/not-scsi0/config_files/engineAddr",
    "/not-scsi0/config_files/engineAddr.ini",
    "/not-scsi0/dev0/httpd.conf",
    "/not-scsi0/dev0/httpds.conf",
    "/not-scsi0/httpd/conf/httpd.conf",
    "/not-scsi0/scan/template/(ColorCal).xst",
    "/harddisk2/home/template/(ColorCal).xst",
    // direct connection
    kMainConfig,
    "/not-scsi0/dev0/oid_exclude_list.enable",
    "/not-scsi0/dev0/hrmib.ppd.enable",
    "/not-scsi0/dev0/vscan_ftp.ini.base",
    "/not-scsi0/config_files/controllerAddr.base",
    "/not-scsi0/config_files/controllerAddr.ini.base",
    "/not-scsi0/config_files/engineAddr.base",
    "/not-scsi0/config_files/engineAddr.ini.base",
    "/not-scsi0/dev0/httpd.conf.base",
    "/not-scsi0/dev0/httpds.conf.base",
    "/not-scsi0/httpd/conf/httpd.conf.base",
    "/not-scsi0/scan/template/(ColorCal).xst.base",
    "/harddisk2/home/template/(ColorCal).xst.base",
    // network switch
    kMainConfig,
    "/not-scsi0/dev0/oid_exclude_list.disable",
    "/not-scsi0/dev0/hrmib.ppd.disable",
    "/not-scsi0/dev0/vscan_ftp.ini.base",
    "/not-scsi0/config_files/controllerAddr.base",
    "/not-scsi0/config_files/controllerAddr.ini.base",
    "/not-scsi0/config_files/engineAddr.base",
    "/not-scsi0/config_files/engineAddr.ini.base",
    "/not-scsi0/dev0/httpd.conf.base",
    "/not-scsi0/dev0/httpds.conf.base",
    "/not-scsi0/httpd/conf/httpd.conf.base",
    "/not-scsi0/scan/template/(ColorCal).xst.base",
    "/harddisk2/home/template/(ColorCal).xst.base",
    // state files
    kPrinterMacPath,
    kAttachmentLogPath,
    "/not-scsi0/tmp/azuqvc.act",
    "/not-scsi0/tmp/azuqvc.exit",
    kChangedMarkerPath,
};

AttachmentMode ModeOf(std::string_view printerAddress) {
  return printerAddress == kDirectPrinterAddress ? AttachmentMode::DirectConnection
                                                 : AttachmentMode::NetworkSwitch;
}

int SetOf(AttachmentMode mode) {
  return mode == AttachmentMode::DirectConnection ? kDirectSet : kNetworkSet;
}

}  // namespace azu
