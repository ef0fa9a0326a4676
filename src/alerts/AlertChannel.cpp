// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertChannel.h"

#include <algorithm>
#include <iterator>

namespace {

using Kind = AlertChannel::Kind;

struct KindNames {
    Kind kind;
    const char* name;
    const char* title;
};

const KindNames Kinds[] = {
    {Kind::WeCom, "wecom", "企业微信群机器人"},
    {Kind::DingTalk, "dingtalk", "钉钉群机器人"},
    {Kind::Feishu, "feishu", "飞书群机器人"},
    {Kind::ServerChan, "serverchan", "Server酱"},
    {Kind::PushPlus, "pushplus", "PushPlus 推送加"},
    {Kind::Bark, "bark", "Bark（iPhone）"},
    {Kind::Ntfy, "ntfy", "ntfy"},
    {Kind::Gotify, "gotify", "Gotify"},
    {Kind::Telegram, "telegram", "Telegram 机器人"},
    {Kind::Discord, "discord", "Discord 网络钩子"},
    {Kind::Slack, "slack", "Slack 网络钩子"},
    {Kind::CustomGet, "get", "自定义 GET 网址"},
    {Kind::CustomPost, "post", "自定义 POST"},
};

const KindNames& namesOf(Kind kind)
{
    return *std::find_if(std::begin(Kinds), std::end(Kinds),
                         [kind](const KindNames& names) { return names.kind == kind; });
}

} // namespace

const QString DefaultPostBody =
    QStringLiteral(R"({"cause":"{cause}","text":"{text}","time":"{time}"})");

QList<AlertChannel::Kind> allChannelKinds()
{
    QList<Kind> kinds;
    for (const KindNames& names : Kinds)
        kinds.append(names.kind);
    return kinds;
}

QString channelKindName(AlertChannel::Kind kind)
{
    return QString::fromLatin1(namesOf(kind).name);
}

std::optional<AlertChannel::Kind> channelKindNamed(const QString& name)
{
    for (const KindNames& names : Kinds) {
        if (name == QLatin1String(names.name))
            return names.kind;
    }
    return std::nullopt;
}

QString channelKindTitle(AlertChannel::Kind kind)
{
    return QString::fromUtf8(namesOf(kind).title);
}
