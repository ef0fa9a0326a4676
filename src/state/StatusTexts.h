// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "state/ScanState.h"

#include <QString>

// What the status box can say.
inline const QString ScanningStatus = QStringLiteral("扫描中");
inline const QString StoppedStatus = QStringLiteral("已停止");
inline const QString FetchingStatus = QStringLiteral("获取交易信息");
inline const QString RefreshingStatus = QStringLiteral("正在刷新，请等待……");
inline const QString LoginRequestStatus = QStringLiteral("请先登录您的支付宝");
inline const QString SessionLostStatus = QStringLiteral("登录已失效，请重新登录");
inline const QString IntervalInvalidStatus = QStringLiteral("扫描间隔无效，请填写秒数");
inline const QString LoadFailedStatus = QStringLiteral("无法打开支付宝页面，正在重试");

// While the interface key is the public default.
inline const QString PublicKeyWarning = QStringLiteral("dembro 是公开的默认密钥，请换成您自己的");

// The status box's text for the watch's state and the moment's activity.
QString statusText(ScanState state, Activity activity, BrowserNote note);
