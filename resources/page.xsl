<?xml version="1.0" encoding="UTF-8"?>
<!-- The program's own pages (summary, sales sheet, inventory) and the parts
     it adds to a consignment page: one document of ours, made into HTML here.
     Inside the program; never written into the user's folders. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>
  <xsl:strip-space elements="page part table head row total p"/>

  <xsl:template match="/page">
    <xsl:text disable-output-escaping="yes">&lt;!DOCTYPE html&gt;&#10;</xsl:text>
    <html lang="fr"><head><title><xsl:value-of select="@title"/></title>
    <xsl:text>&#10;</xsl:text>
    <style>body{font-family:'DejaVu Sans',Arial,sans-serif;font-size:10pt;color:#000;}h1{font-size:15pt;}h2{font-size:12pt;}table.rows{border-collapse:collapse;width:100%;}table.rows th,table.rows td{border:1px solid #888;padding:3px 6px;}td.num,th.num{text-align:right;white-space:nowrap;}tr.total td{font-weight:bold;}@media print{body{margin:0;}}</style></head>
    <xsl:text>&#10;</xsl:text>
    <body><xsl:text>&#10;</xsl:text><xsl:apply-templates/></body></html>
    <xsl:text>&#10;</xsl:text>
  </xsl:template>

  <xsl:template match="/part"><xsl:apply-templates/></xsl:template>

  <xsl:template match="h1|h2">
    <xsl:element name="{local-name()}"><xsl:value-of select="."/></xsl:element>
    <xsl:text>&#10;</xsl:text>
  </xsl:template>

  <!-- A paragraph of lines: bold ones (@b), all in italics (@i). -->
  <xsl:template match="p">
    <p>
      <xsl:if test="@class"><xsl:attribute name="class"><xsl:value-of select="@class"/></xsl:attribute></xsl:if>
      <xsl:for-each select="l">
        <xsl:if test="position() &gt; 1"><br/></xsl:if>
        <xsl:choose>
          <xsl:when test="@b"><b><xsl:value-of select="."/></b></xsl:when>
          <xsl:when test="../@i"><i><xsl:value-of select="."/></i></xsl:when>
          <xsl:otherwise><xsl:value-of select="."/></xsl:otherwise>
        </xsl:choose>
      </xsl:for-each>
    </p>
    <xsl:text>&#10;</xsl:text>
  </xsl:template>

  <!-- class "rows": ruled and full width, also when printed from a mail. -->
  <xsl:template match="table">
    <table class="{@class}">
      <xsl:if test="@class = 'rows'">
        <xsl:attribute name="width">100%</xsl:attribute>
        <xsl:attribute name="border">1</xsl:attribute>
        <xsl:attribute name="cellspacing">0</xsl:attribute>
        <xsl:attribute name="cellpadding">4</xsl:attribute>
      </xsl:if>
      <xsl:text>&#10;</xsl:text>
      <xsl:apply-templates select="head|row|total"/>
    </table>
    <xsl:text>&#10;</xsl:text>
  </xsl:template>

  <xsl:template match="head">
    <tr>
      <xsl:for-each select="c">
        <th><xsl:if test="@num"><xsl:attribute name="class">num</xsl:attribute></xsl:if><xsl:value-of select="."/></th>
      </xsl:for-each>
    </tr>
    <xsl:text>&#10;</xsl:text>
  </xsl:template>

  <xsl:template match="row">
    <tr>
      <xsl:if test="../@marked"><xsl:attribute name="class">row</xsl:attribute></xsl:if>
      <xsl:for-each select="c"><td><xsl:call-template name="cell"/><xsl:value-of select="."/></td></xsl:for-each>
    </tr>
    <xsl:text>&#10;</xsl:text>
  </xsl:template>

  <xsl:template match="total">
    <tr class="total">
      <xsl:for-each select="c"><td><xsl:call-template name="cell"/><b><xsl:value-of select="."/></b></td></xsl:for-each>
    </tr>
    <xsl:text>&#10;</xsl:text>
  </xsl:template>

  <xsl:template name="cell">
    <xsl:if test="@span"><xsl:attribute name="colspan"><xsl:value-of select="@span"/></xsl:attribute></xsl:if>
    <xsl:if test="@num">
      <xsl:attribute name="class">num</xsl:attribute>
      <xsl:attribute name="align">right</xsl:attribute>
    </xsl:if>
  </xsl:template>
</xsl:stylesheet>
