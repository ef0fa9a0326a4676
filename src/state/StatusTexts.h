#pragma once

#include <QString>

// What the status box can say. The scan reads the box as state: it works
// only while the box says exactly ScanningStatus.
inline const QString ScanningStatus = QStringLiteral("扫描中");
inline const QString StoppedStatus = QStringLiteral("已停止");
inline const QString FetchingStatus = QStringLiteral("获取交易信息");
inline const QString RefreshingStatus = QStringLiteral("正在刷新，请等待……");
inline const QString LoginRequestStatus = QStringLiteral("请先登录您的支付宝");
